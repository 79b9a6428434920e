// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exercises.h"

#include <algorithm>
#include <cmath>

#include "core/prime_table.h"

namespace pendro {

namespace {

// Rejected draws are drawn again; a bound keeps every draw finite whatever the range.
constexpr int AttemptsPerNumber = 200;
constexpr float CommonFactorShare = 0.75F;

bool contains(const std::vector<std::int32_t>& numbers, std::int32_t value)
{
    return std::find(numbers.begin(), numbers.end(), value) != numbers.end();
}

bool composite(std::int32_t value)
{
    return value >= 4 && !IsPrime(value);
}

// A composite number from 4 to range drawn as factor times a number up to range / factor, not one
// of taken; none where every attempt failed.
std::int32_t drawCompositeMultiple(
    RandomGenerator& random, int range, int factor, const std::vector<std::int32_t>& taken)
{
    for (int attempt = 0; attempt < AttemptsPerNumber; ++attempt) {
        const std::int32_t value = factor * drawUpTo(random, std::max(1, range / factor));
        if (composite(value) && !contains(taken, value))
            return value;
    }
    return 0;
}

} // namespace

float reseededDraw(RandomGenerator& random)
{
    random.reseedFromClock();
    return random.draw();
}

int drawUpTo(RandomGenerator& random, int limit)
{
    const float value = reseededDraw(random) * static_cast<float>(limit) + 1.0F;
    return static_cast<int>(std::floor(value));
}

FractionExercise drawSum(RandomGenerator& random, const FractionSettings& settings)
{
    FractionExercise exercise { FractionOperation::Sum, {} };
    random.reseedFromClock();
    for (int i = 0; i < settings.terms; ++i) {
        FractionTerm term;
        term.minus = std::floor(2.0F * reseededDraw(random)) != 0.0F;
        term.numerator = drawUpTo(random, settings.numeratorLimit);
        term.denominator = drawUpTo(random, settings.denominatorLimit);
        exercise.terms.push_back(term);
    }
    return exercise;
}

FractionExercise drawChain(
    RandomGenerator& random, FractionOperation operation, const FractionSettings& settings)
{
    FractionExercise exercise { operation, {} };
    random.reseedFromClock();
    for (int i = 0; i < settings.terms; ++i) {
        FractionTerm term;
        term.numerator = drawUpTo(random, settings.numeratorLimit);
        if (settings.negativeNumerators && reseededDraw(random) >= 0.5F)
            term.numerator = -term.numerator;
        term.denominator = drawUpTo(random, settings.denominatorLimit);
        exercise.terms.push_back(term);
    }
    return exercise;
}

std::vector<std::int32_t> drawCompositeNumbers(RandomGenerator& random, int range, int count)
{
    std::vector<std::int32_t> numbers;
    for (int i = 0; i < count; ++i) {
        std::int32_t value = drawCompositeMultiple(random, range, 1, numbers);
        // A range with fewer composites than count: repeats are allowed then.
        if (value == 0)
            value = drawCompositeMultiple(random, range, 1, {});
        numbers.push_back(value == 0 ? 4 : value);
    }
    return numbers;
}

std::vector<std::int32_t> drawNumberGroup(RandomGenerator& random, int range, int size)
{
    const bool commonFactor = reseededDraw(random) < CommonFactorShare;
    const auto root = static_cast<int>(std::sqrt(static_cast<double>(range)));
    const int factor = commonFactor && root >= 2 ? 1 + drawUpTo(random, root - 1) : 1;
    std::vector<std::int32_t> group;
    for (int i = 0; i < size; ++i) {
        std::int32_t value = drawCompositeMultiple(random, range, factor, group);
        if (value == 0)
            value = drawCompositeMultiple(random, range, 1, group);
        group.push_back(value == 0 ? 4 : value);
    }
    return group;
}

} // namespace pendro
