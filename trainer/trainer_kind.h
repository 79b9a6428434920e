// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pendro {

// The fraction trainers, in the order of the main window's menu. The application's table of
// trainer kinds (app/trainer_kinds.h) says what each one is; the main window knows only that
// the type exists.
enum class TrainerKind : int {
    AddSub,
    Mul,
    Div,
};

} // namespace pendro
