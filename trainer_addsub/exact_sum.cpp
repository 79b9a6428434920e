// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_addsub/exact_sum.h"

#include <QString>

#include "trainer/check_failure.h"

namespace pendro {

namespace {
// Eight terms of at most 2^53 * 2^31 each stay far inside 127 bits.
__extension__ typedef __int128 WideInt;
}

std::optional<std::int64_t> sumOverCommonDenominator(
    std::int64_t commonDenominator, std::span<const SignedTerm> terms)
{
    WideInt sum = 0;
    for (const SignedTerm& term : terms) {
        if (term.denominator == 0 || commonDenominator % term.denominator != 0)
            return std::nullopt;
        sum += WideInt { commonDenominator / term.denominator } * term.numerator;
    }
    if (sum > ExactDoubleLimit || sum < -ExactDoubleLimit)
        return std::nullopt;
    return static_cast<std::int64_t>(sum);
}

std::optional<std::int64_t> exactWholeNumber(const QString& text)
{
    // Read digit by digit: a double read of a longer text would round instead of failing.
    qsizetype first = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+')))
        first = 1;
    if (first == text.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > ExactDoubleLimit)
            return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

} // namespace pendro
