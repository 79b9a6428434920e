// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers learn about Pendro's own controls beyond Qt's defaults:
// - a plain top-level widget (the trainer and help windows) is a window, not a filler;
// - a text box offers its activation as an action a screen reader can run, and edits a screen
//   reader makes go through the field's key rule like typed keys;
// - an announcement is a notification whose name is what it says.
namespace pendro {

void installAccessibility();

} // namespace pendro
