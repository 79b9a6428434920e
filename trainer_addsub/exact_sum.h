// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

class QString;

// Whole-number arithmetic of the addition check that needs no window: it keeps the check exact
// for every sum whose common denominator and numerator a double still holds exactly.
namespace pendro {

// One term of row 1 with its operator already applied to the numerator.
struct SignedTerm
{
    std::int64_t numerator = 0;
    std::int64_t denominator = 0;
};

// The signed numerator of the sum over the common denominator: the sum of
// commonDenominator / denominator * numerator. Worked out in 128 bits, so that large terms which
// cancel each other still give the exact sum. nullopt when a denominator is 0 or does not divide
// the common denominator, or when the sum lies beyond ExactDoubleLimit.
std::optional<std::int64_t> sumOverCommonDenominator(
    std::int64_t commonDenominator, std::span<const SignedTerm> terms);

// A caption that holds a plain whole number of at most ExactDoubleLimit in magnitude; nullopt
// for anything else (empty, exponent form, too large).
std::optional<std::int64_t> exactWholeNumber(const QString& text);

} // namespace pendro
