// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

class QString;

namespace pendro {

// Raised by a result check at the step where it cannot go on (a field without a whole number, an
// overflow, a division by zero). The check catches it once at its top and ends silently; what the
// earlier steps changed stays changed.
struct CheckFailure
{
};

// The conversions a check makes from field texts; each raises CheckFailure instead of failing.
std::int16_t toInt16(const QString& text);
std::int32_t toInt32(const QString& text);
double toDouble(const QString& text);

// A double that must be a whole number within 32 bits, rounded to the nearest one.
std::int32_t roundToInt32(double value);

// Raises CheckFailure unless the condition holds.
inline void require(bool condition)
{
    if (!condition)
        throw CheckFailure {};
}

} // namespace pendro

namespace pendro {

// The largest whole number a double holds exactly; results beyond it cannot be checked.
constexpr std::int64_t ExactDoubleLimit = std::int64_t { 1 } << 53;

// Exact ggT and kgV for numbers beyond the main window's calculator (above 131072). Both take
// magnitudes; exactKgv raises CheckFailure when the result would pass ExactDoubleLimit.
std::int64_t exactGgt(std::int64_t a, std::int64_t b);
std::int64_t exactKgv(std::int64_t a, std::int64_t b);

} // namespace pendro
