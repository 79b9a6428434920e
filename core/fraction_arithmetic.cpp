// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fraction_arithmetic.h"

#include <numeric>

namespace pendro {

namespace {

bool withinLimit(std::int64_t value)
{
    return value >= -ExactDoubleLimit && value <= ExactDoubleLimit;
}

std::int64_t magnitude(std::int64_t value)
{
    return value < 0 ? -value : value;
}

std::int64_t signOf(std::int64_t value)
{
    return (value > 0) - (value < 0);
}

// A signed 128-bit sum in two's complement, two 64-bit halves: products of a quotient and a
// numerator (each at most 2^53) stay below 2^106, so that a sum of many of them cannot overflow.
class WideSum
{
public:
    void addProduct(std::int64_t a, std::int64_t b)
    {
        std::uint64_t high = 0;
        std::uint64_t low = 0;
        unsignedProduct(std::uint64_t(magnitude(a)), std::uint64_t(magnitude(b)), high, low);
        if ((a < 0) != (b < 0)) {
            low = ~low + 1;
            high = ~high + (low == 0 ? 1 : 0);
        }
        const std::uint64_t sumLow = m_low + low;
        m_high += high + (sumLow < m_low ? 1 : 0);
        m_low = sumLow;
    }

    // The sum when it lies within [-limit, limit].
    std::optional<std::int64_t> within(std::int64_t limit) const
    {
        if (m_high == 0 && m_low <= std::uint64_t(limit))
            return std::int64_t(m_low);
        const std::uint64_t negated = 0 - m_low;
        if (m_high == ~std::uint64_t { 0 } && m_low != 0 && negated <= std::uint64_t(limit))
            return -std::int64_t(negated);
        return std::nullopt;
    }

private:
    // a * b in full, from 32-bit halves.
    static void unsignedProduct(
        std::uint64_t a, std::uint64_t b, std::uint64_t& high, std::uint64_t& low)
    {
        constexpr std::uint64_t Half = 0xFFFF'FFFFu;
        const std::uint64_t lowLow = (a & Half) * (b & Half);
        const std::uint64_t lowHigh = (a & Half) * (b >> 32);
        const std::uint64_t highLow = (a >> 32) * (b & Half);
        const std::uint64_t highHigh = (a >> 32) * (b >> 32);
        const std::uint64_t middle = (lowLow >> 32) + (lowHigh & Half) + (highLow & Half);
        low = (middle << 32) | (lowLow & Half);
        high = highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
    }

    std::uint64_t m_high = 0;
    std::uint64_t m_low = 0;
};

} // namespace

std::optional<std::int64_t> exactGgt(std::int64_t a, std::int64_t b)
{
    if (!withinLimit(a) || !withinLimit(b))
        return std::nullopt;
    return std::gcd(a, b);
}

std::optional<std::int64_t> exactKgv(std::int64_t a, std::int64_t b)
{
    if (a == 0 || b == 0 || !withinLimit(a) || !withinLimit(b))
        return std::nullopt;
    a = magnitude(a);
    b = magnitude(b);
    const std::int64_t reduced = a / std::gcd(a, b);
    if (reduced > ExactDoubleLimit / b)
        return std::nullopt;
    return reduced * b;
}

std::optional<std::int64_t> sumOverCommonDenominator(
    std::int64_t commonDenominator, std::span<const SignedTerm> terms)
{
    if (!withinLimit(commonDenominator))
        return std::nullopt;
    WideSum sum;
    for (const SignedTerm& term : terms) {
        if (term.denominator == 0 || commonDenominator % term.denominator != 0
            || !withinLimit(term.numerator))
            return std::nullopt;
        sum.addProduct(commonDenominator / term.denominator, term.numerator);
    }
    return sum.within(ExactDoubleLimit);
}

MixedNumber mixedNumber(std::int64_t numerator, std::int64_t denominator)
{
    const std::int64_t numeratorSize = magnitude(numerator);
    const std::int64_t denominatorSize = magnitude(denominator);
    MixedNumber mixed;
    mixed.restDenominator = denominatorSize;
    if (numeratorSize < denominatorSize) {
        mixed.restNumerator = signOf(numerator) * signOf(denominator) * numeratorSize;
        return mixed;
    }
    mixed.whole = numerator / denominator;
    if (numerator % denominator != 0)
        mixed.restNumerator = numeratorSize % denominatorSize;
    return mixed;
}

} // namespace pendro
