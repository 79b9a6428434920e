// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/solutions.h"

#include <cstddef>

#include "core/factorization.h"
#include "core/number_text.h"

namespace pendro {

namespace {

std::int64_t magnitude(std::int64_t value)
{
    return value < 0 ? -value : value;
}

// a * b where both and the product lie within what a double counts exactly.
std::optional<std::int64_t> exactProduct(std::int64_t a, std::int64_t b)
{
    if (magnitude(a) > ExactDoubleLimit || magnitude(b) > ExactDoubleLimit)
        return std::nullopt;
    if (a != 0 && magnitude(b) > ExactDoubleLimit / magnitude(a))
        return std::nullopt;
    return a * b;
}

// The value of the exercise before reducing, as numerator over a non-zero denominator.
struct Unreduced
{
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

// A sum over the kgV of its denominators, as the addition trainer's check forms it.
std::optional<Unreduced> sumOf(const FractionExercise& exercise)
{
    std::vector<SignedTerm> terms;
    std::int64_t common = 1;
    for (const FractionTerm& term : exercise.terms) {
        const std::optional<std::int64_t> kgv = exactKgv(common, term.denominator);
        if (!kgv)
            return std::nullopt;
        common = *kgv;
        const std::int64_t sign = (term.minus ? -1 : 1) * (term.denominator < 0 ? -1 : 1);
        terms.push_back({ sign * term.numerator, magnitude(term.denominator) });
    }
    const std::optional<std::int64_t> sum = sumOverCommonDenominator(common, terms);
    if (!sum)
        return std::nullopt;
    return Unreduced { *sum, common };
}

// A chain multiplied out; in a quotient every term after the first enters upside down.
std::optional<Unreduced> chainOf(const FractionExercise& exercise)
{
    Unreduced result { 1, 1 };
    for (std::size_t i = 0; i < exercise.terms.size(); ++i) {
        const FractionTerm& term = exercise.terms[i];
        const bool divisor = exercise.operation == FractionOperation::Quotient && i > 0;
        const std::optional<std::int64_t> numerator
            = exactProduct(result.numerator, divisor ? term.denominator : term.numerator);
        const std::optional<std::int64_t> denominator
            = exactProduct(result.denominator, divisor ? term.numerator : term.denominator);
        if (!numerator || !denominator)
            return std::nullopt;
        result = { *numerator, *denominator };
    }
    return result;
}

std::string joined(const std::vector<std::int32_t>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i > 0 ? ", " : "") + formatInt(values[i]);
    return text;
}

} // namespace

std::optional<FractionSolution> solveFractionExercise(const FractionExercise& exercise)
{
    for (const FractionTerm& term : exercise.terms) {
        if (term.denominator == 0)
            return std::nullopt;
    }
    const std::optional<Unreduced> value
        = exercise.operation == FractionOperation::Sum ? sumOf(exercise) : chainOf(exercise);
    if (!value || value->denominator == 0)
        return std::nullopt;
    const std::optional<std::int64_t> divisor = exactGgt(value->numerator, value->denominator);
    if (!divisor || *divisor == 0)
        return std::nullopt;
    const std::int64_t sign = value->denominator < 0 ? -1 : 1;
    FractionSolution solution;
    solution.numerator = sign * value->numerator / *divisor;
    solution.denominator = sign * value->denominator / *divisor;
    solution.mixed = mixedNumber(solution.numerator, solution.denominator);
    solution.decimal = formatDecimalPattern(
        static_cast<double>(solution.numerator) / static_cast<double>(solution.denominator));
    return solution;
}

std::vector<PrimePower> primePowers(std::int32_t number)
{
    WorkArea area;
    area.numbers[0] = formatInt(number);
    runFactorization(area, FactorizationMode::Lenient);
    std::vector<PrimePower> powers;
    if (area.numbers[0].empty() || isRejected(area.factors[0]))
        return powers;
    // The run writes the factors in ascending order, "2 * 2 * 3".
    const std::string& text = area.factors[0];
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find(" * ", from);
        if (end == std::string::npos)
            end = text.size();
        const std::optional<std::int32_t> prime
            = parseInt32(std::string_view(text).substr(from, end - from));
        if (!prime)
            return {};
        if (!powers.empty() && powers.back().prime == *prime)
            ++powers.back().exponent;
        else
            powers.push_back({ *prime, 1 });
        from = end + 3;
    }
    return powers;
}

GgtAndKgv ggtAndKgv(const std::vector<std::int32_t>& numbers)
{
    WorkArea area;
    for (std::size_t i = 0; i < numbers.size() && i < area.numbers.size(); ++i)
        area.numbers[i] = formatInt(numbers[i]);
    runFactorization(area, FactorizationMode::Lenient);
    return { area.ggt, area.kgv };
}

std::string fractionText(std::int64_t numerator, std::int64_t denominator)
{
    return formatInt(numerator) + "/" + formatInt(denominator);
}

std::string mixedNumberText(const MixedNumber& mixed)
{
    std::string text = mixed.whole ? formatInt(*mixed.whole) : std::string();
    if (mixed.restNumerator) {
        if (!text.empty())
            text += ' ';
        text += fractionText(*mixed.restNumerator, mixed.restDenominator);
    }
    return text;
}

std::string exerciseText(const FractionExercise& exercise)
{
    std::string text;
    for (std::size_t i = 0; i < exercise.terms.size(); ++i) {
        const FractionTerm& term = exercise.terms[i];
        std::int64_t numerator = term.numerator;
        if (exercise.operation == FractionOperation::Sum) {
            // The first operator is the sign of the first numerator.
            if (i > 0)
                text += term.minus ? " - " : " + ";
            else if (term.minus)
                numerator = -numerator;
        } else if (i > 0) {
            text += exercise.operation == FractionOperation::Product ? " * " : " : ";
        }
        text += fractionText(numerator, term.denominator);
    }
    return text;
}

std::string primePowersText(const std::vector<PrimePower>& powers)
{
    std::string text;
    for (const PrimePower& power : powers) {
        if (!text.empty())
            text += " * ";
        text += formatInt(power.prime);
        if (power.exponent > 1)
            text.append("^").append(formatInt(power.exponent));
    }
    return text;
}

std::string solutionLine(int number, const FractionExercise& exercise)
{
    std::string line = formatInt(number) + ". " + exerciseText(exercise) + " = ";
    const std::optional<FractionSolution> solution = solveFractionExercise(exercise);
    if (!solution)
        return line + "?";
    if (solution->denominator == 1)
        return line + formatInt(solution->numerator);
    line += fractionText(solution->numerator, solution->denominator);
    if (solution->mixed.whole)
        line.append(" = ").append(mixedNumberText(solution->mixed));
    return line;
}

std::string factorizationLine(int number, std::int32_t value)
{
    return formatInt(number) + ". " + formatInt(value) + " = "
        + primePowersText(primePowers(value));
}

std::string ggtAndKgvLine(int number, const std::vector<std::int32_t>& values)
{
    const GgtAndKgv result = ggtAndKgv(values);
    const std::string arguments = std::string("(").append(joined(values)).append(")");
    return formatInt(number) + ". ggT" + arguments + " = " + result.ggt + "; kgV" + arguments
        + " = " + result.kgv;
}

} // namespace pendro
