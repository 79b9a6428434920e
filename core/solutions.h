// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/exercises.h"
#include "core/fraction_arithmetic.h"

// The solutions of the exercises, worked out with the routines that the trainers' checks and the
// main window use, so that a worksheet's answer key never differs from what Pendro judges right;
// and their one-line texts for scripts.
namespace pendro {

struct FractionSolution
{
    // The reduced result, its sign in the numerator and its denominator positive.
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
    // The answer the trainers expect in row 5, and their decimal value ("1,875", "2,").
    MixedNumber mixed;
    std::string decimal;
};

// The exact value of the exercise; nullopt where a denominator or a divisor is 0 or a number
// leaves what a double counts exactly.
std::optional<FractionSolution> solveFractionExercise(const FractionExercise& exercise);

struct PrimePower
{
    std::int32_t prime = 0;
    int exponent = 0;
};

// The prime factors of number from the main window's factorization run, in ascending primes;
// empty where the run rejects the number.
std::vector<PrimePower> primePowers(std::int32_t number);

struct GgtAndKgv
{
    std::string ggt; // as the main window shows them, "" where there is none
    std::string kgv;
};

// ggT and kgV of the numbers as the main window's "Start" shows them.
GgtAndKgv ggtAndKgv(const std::vector<std::int32_t>& numbers);

// Texts: "15/8" (any sign at the numerator), "1 7/8" for a mixed number, "5/6 * 9/4" for an
// exercise, "2^3 * 3^2 * 5" for prime powers.
std::string fractionText(std::int64_t numerator, std::int64_t denominator);
std::string mixedNumberText(const MixedNumber& mixed);
std::string exerciseText(const FractionExercise& exercise);
std::string primePowersText(const std::vector<PrimePower>& powers);

// One line per exercise, numbered from 1:
//   "1. 5/6 * 9/4 = 15/8 = 1 7/8", "2. 4/3 * 3/2 = 2", "4. 1/2 - 1/3 = 1/6";
//   "1. 360 = 2^3 * 3^2 * 5";  "1. ggT(12, 18) = 6; kgV(12, 18) = 36".
std::string solutionLine(int number, const FractionExercise& exercise);
std::string factorizationLine(int number, std::int32_t value);
std::string ggtAndKgvLine(int number, const std::vector<std::int32_t>& values);

} // namespace pendro
