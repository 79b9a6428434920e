// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number texts with German conventions, the same on every machine: decimal comma, no digit
// grouping, no plus sign. Texts are UTF-8.
namespace pendro {

// An optional leading "+" or "-" followed by at least one digit, nothing else (no blanks, no
// separators). Anything else, or a value outside the target type, gives std::nullopt.
std::optional<std::int16_t> parseInt16(std::string_view text);
std::optional<std::int32_t> parseInt32(std::string_view text);
// The same form; values beyond the double range fail.
std::optional<double> parseDouble(std::string_view text);
// The same form read digit by digit into 64 bits, failing as soon as the magnitude passes limit
// (a text of any length is read exactly or not at all, never rounded as a double would be).
std::optional<std::int64_t> parseWholeNumber(std::string_view text, std::int64_t limit);

// Whole numbers: plain digits with a leading "-" when negative.
std::string formatInt(std::int64_t value);

// A double with at most 15 significant digits (an exact tie in the 16th digit is rounded away
// from zero), plain while the integer part has at most 15 digits, otherwise in exponent form:
// "1E+15", "1,0000000000011E+15", "1,23456789012346E+20". Trailing zeros are dropped.
// Whole values show without a comma ("1260"), negative zero as "0".
std::string formatDouble(double value);

// The pattern "0.##############": the value rounded to 15 significant digits first, then to at
// most 14 decimals (an exact tie away from zero), trailing zeros dropped, the comma always
// kept ("2,", "0,"), never "-0,". Examples: 3/4 "0,75", -7/6 "-1,16666666666667".
std::string formatDecimalPattern(double value);

} // namespace pendro
