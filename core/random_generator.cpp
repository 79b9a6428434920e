// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random_generator.h"

#include <chrono>
#include <utility>

namespace pendro {

namespace {

constexpr std::uint64_t Gamma = 0x9E3779B97F4A7C15ULL;
constexpr std::uint64_t InitialState = 0x853C49E6748FEA9BULL;

// The splitmix64 finalizer: a bijection that spreads every input bit over the whole word.
std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t systemClockNanoseconds()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

} // namespace

RandomGenerator::RandomGenerator()
    : RandomGenerator(systemClockNanoseconds, InitialState)
{ }

RandomGenerator::RandomGenerator(Clock clock, std::uint64_t state)
    : m_clock(std::move(clock))
    , m_state(state)
{ }

void RandomGenerator::reseedFromClock()
{
    const std::uint64_t reading = m_clock ? m_clock() : 0;
    m_state = mix((m_state ^ reading) + Gamma);
}

float RandomGenerator::draw()
{
    m_state += Gamma;
    const std::uint64_t x = mix(m_state);
    // The top 24 bits fill a float's mantissa exactly, so the result stays below 1.
    return static_cast<float>(x >> 40) * 0x1p-24f;
}

} // namespace pendro
