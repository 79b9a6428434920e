// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer/check_failure.h"

#include <cmath>

#include <QString>

#include "core/number_text.h"

namespace pendro {

namespace {
template <typename T> T valueOrFail(const std::optional<T>& value)
{
    require(value.has_value());
    return *value;
}
}

std::int16_t toInt16(const QString& text)
{
    return valueOrFail(parseInt16(text.toStdString()));
}

std::int32_t toInt32(const QString& text)
{
    return valueOrFail(parseInt32(text.toStdString()));
}

double toDouble(const QString& text)
{
    return valueOrFail(parseDouble(text.toStdString()));
}

std::int32_t roundToInt32(double value)
{
    require(std::isfinite(value));
    const double rounded = std::nearbyint(value);
    require(rounded >= -2147483648.0 && rounded <= 2147483647.0);
    return static_cast<std::int32_t>(rounded);
}

} // namespace pendro

namespace pendro {

std::int64_t exactGgt(std::int64_t a, std::int64_t b)
{
    require(a > INT64_MIN && b > INT64_MIN);
    a = a < 0 ? -a : a;
    b = b < 0 ? -b : b;
    while (b != 0) {
        const std::int64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

std::int64_t exactKgv(std::int64_t a, std::int64_t b)
{
    a = a < 0 ? -a : a;
    b = b < 0 ? -b : b;
    require(a > 0 && b > 0);
    const std::int64_t reduced = a / exactGgt(a, b);
    require(reduced <= ExactDoubleLimit / b);
    return reduced * b;
}

} // namespace pendro
