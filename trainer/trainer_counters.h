// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pendro {

// The three counters of one trainer kind. They belong to the application, not to the window,
// so that they outlive a closed trainer window; only the window's "C" sets them back to 0.
struct TrainerCounters
{
    std::int16_t correct = 0; // CorrectCount, shown in lblGut
    std::int16_t exercises = 0; // ExerciseCount, shown in lblVon
    std::int16_t attempts = 0; // AttemptCount, shown in lblVersuche
};

// One more, but a counter at 32767 stays there instead of overflowing.
constexpr std::int16_t raisedCount(std::int16_t count)
{
    return count < INT16_MAX ? static_cast<std::int16_t>(count + 1) : count;
}

} // namespace pendro
