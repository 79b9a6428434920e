// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "core/random_generator.h"

// The exercise generators of the trainers and the worksheets: pure functions of the random
// generator and the settings. A trainer writes what they return into its fields, a worksheet lays
// it out; both take the draws in the same order, so the same generator state gives the same
// exercises in either. Every draw comes right after its own re-seed, as the trainers have always
// drawn.
namespace pendro {

// r from a draw right after a re-seed, 0 <= r < 1.
float reseededDraw(RandomGenerator& random);
// Int(r * limit + 1) in single precision, r from reseededDraw: a whole number from 1 to limit.
int drawUpTo(RandomGenerator& random, int limit);

enum class FractionOperation {
    Sum, // each term with "+" or "-" in front, the first one too
    Product, // terms joined by "*"
    Quotient, // terms joined by ":"
};

struct FractionTerm
{
    bool minus = false; // the operator in front of the term in a sum
    int numerator = 0; // negative in a chain with negative numerators
    int denominator = 1;
};

struct FractionExercise
{
    FractionOperation operation = FractionOperation::Sum;
    std::vector<FractionTerm> terms;
};

struct FractionSettings
{
    int terms = 2;
    int numeratorLimit = 10;
    int denominatorLimit = 10;
    bool negativeNumerators = false; // chains only: each numerator negative with probability 1/2
};

// A sum: one re-seed, then for every term its operator (Int(2r): 0 is "+"), numerator and
// denominator.
FractionExercise drawSum(RandomGenerator& random, const FractionSettings& settings);

// A product or quotient chain: one re-seed, then for every term its numerator, its sign (a draw of
// its own, only with negative numerators; r >= 0.5 is "-") and its denominator.
FractionExercise drawChain(
    RandomGenerator& random, FractionOperation operation, const FractionSettings& settings);

// The ranges of the factorization and ggT/kgV exercises.
inline constexpr int NumberRanges[] = { 100, 1000, 10000 };

// count different numbers from 4 to range that are neither prime nor 1, for factorizing. Where
// the range holds fewer such numbers than count, numbers repeat.
std::vector<std::int32_t> drawCompositeNumbers(RandomGenerator& random, int range, int count);

// A group of size (2 or 3) different numbers from 4 to range, none prime, for ggT and kgV. Three
// groups in four are multiples of one common factor f from 2 to the square root of range (f times
// a whole number drawn up to range / f), so that most groups have a ggT above 1 and it is not
// always one of the numbers; the fourth group is drawn freely and often has ggT 1.
std::vector<std::int32_t> drawNumberGroup(RandomGenerator& random, int range, int size);

} // namespace pendro
