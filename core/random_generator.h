// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace pendro {

// The exercise generators' source of chance. A re-seed folds the clock reading into the running
// state instead of restarting the sequence, so that draws made within one clock tick still differ.
class RandomGenerator
{
public:
    using Clock = std::function<std::uint64_t()>;

    // The system clock (nanoseconds since the epoch) and a fixed starting state.
    RandomGenerator();
    // Tests inject a deterministic clock and state.
    RandomGenerator(Clock clock, std::uint64_t state);

    void reseedFromClock();
    // A single-precision value r with 0 <= r < 1.
    float draw();

    std::uint64_t state() const { return m_state; }

private:
    Clock m_clock;
    std::uint64_t m_state;
};

} // namespace pendro
