// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <numeric>

#include <QString>
#include <QStringList>

// Fractions worked out in the tests with plain integers, independently of the program: the
// reference that the trainers' results are compared with.
namespace pendro::testing {

// Reduced, with a positive denominator.
struct Fraction
{
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

inline Fraction reduced(std::int64_t numerator, std::int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const std::int64_t divisor = std::gcd(numerator, denominator);
    return { numerator / divisor, denominator / divisor };
}

// What a pupil types into txtGZ5, txtZ5 and txtHN5 for a reduced result: the whole part with its
// sign, then the unsigned rest; a proper fraction (0 too) keeps its sign in the numerator.
inline QStringList mixedAnswer(const Fraction& value)
{
    const auto text = [](std::int64_t number) { return QString::number(number); };
    const std::int64_t size = value.numerator < 0 ? -value.numerator : value.numerator;
    if (size < value.denominator)
        return { {}, text(value.numerator), text(value.denominator) };
    if (value.denominator == 1)
        return { text(value.numerator), {}, {} };
    return { text(value.numerator / value.denominator), text(size % value.denominator),
        text(value.denominator) };
}

} // namespace pendro::testing
