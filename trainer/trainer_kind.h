// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pendro {

// The three fraction trainers that the main window's menu can ask for.
enum class TrainerKind {
    AddSub,
    Mul,
    Div,
};

} // namespace pendro
