// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

class QString;

namespace pendro {

// Raised by a result check at the step where it cannot go on (a field without a whole number, an
// overflow, a division by zero). The frame catches it once around the check, which then ends
// silently; what the earlier steps changed stays changed.
struct CheckFailure
{
};

// Raises CheckFailure unless the condition holds.
inline void require(bool condition)
{
    if (!condition)
        throw CheckFailure {};
}

// The value, or CheckFailure where there is none.
template <typename T> T required(const std::optional<T>& value)
{
    require(value.has_value());
    return *value;
}

// The conversions a check makes from field texts; each raises CheckFailure instead of failing.
std::int16_t toInt16(const QString& text);
std::int32_t toInt32(const QString& text);

// A whole number as the fields and captions show it: "-7", "12".
QString wholeNumberText(std::int64_t value);

} // namespace pendro
