// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Screen readers announce a plain top-level widget as a filler, not as a window. The trainer
// windows and the help window are plain widgets, so they get the window role here.
namespace pendro {

void installWindowAccessibility();

} // namespace pendro
