// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The whole-number arithmetic of the trainers' result checks: exact for every value that a double
// still counts exactly, so that a check never shows a rounded result. Numbers beyond that give
// nullopt, and the check ends there.
namespace pendro {

// The largest whole number a double holds exactly; results beyond it cannot be checked.
constexpr std::int64_t ExactDoubleLimit = std::int64_t { 1 } << 53;

// The ggT of the magnitudes of a and b (ggT(a, 0) = |a|); nullopt when either lies beyond
// ExactDoubleLimit in magnitude.
std::optional<std::int64_t> exactGgt(std::int64_t a, std::int64_t b);

// The kgV of the magnitudes of a and b; nullopt when either is 0 or lies beyond ExactDoubleLimit,
// or when the kgV would.
std::optional<std::int64_t> exactKgv(std::int64_t a, std::int64_t b);

// One term of a sum with its operator already applied to the numerator.
struct SignedTerm
{
    std::int64_t numerator = 0;
    std::int64_t denominator = 0;
};

// The signed numerator of the sum over the common denominator: the sum of
// commonDenominator / denominator * numerator, exact even where large terms cancel each other.
// nullopt when a denominator is 0 or does not divide the common denominator, when the common
// denominator or a numerator lies beyond ExactDoubleLimit, or when the sum does.
std::optional<std::int64_t> sumOverCommonDenominator(
    std::int64_t commonDenominator, std::span<const SignedTerm> terms);

// A fraction written as a mixed number, as the trainers show it: the whole part carries the sign
// and the rest is unsigned; a proper fraction has no whole part and keeps the sign in its
// numerator. The denominator of the rest is always positive, wherever the sign came from.
struct MixedNumber
{
    std::optional<std::int64_t> whole; // none for a proper fraction
    std::optional<std::int64_t> restNumerator; // none for a whole number
    std::int64_t restDenominator = 1;
};

// numerator / denominator as a mixed number, the whole part truncated toward zero (-7/6 is -1
// and 1/6). Both within ExactDoubleLimit in magnitude, the denominator not 0.
MixedNumber mixedNumber(std::int64_t numerator, std::int64_t denominator);

} // namespace pendro
