// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>
#include <vector>

namespace pendro {

namespace {

struct SignedDigits
{
    bool negative = false;
    std::string_view digits;
};

// Splits "[+|-]digits"; nullopt unless the text has exactly that form.
std::optional<SignedDigits> splitSignedDigits(std::string_view text)
{
    SignedDigits result;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        result.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    result.digits = text;
    return result;
}

template <typename Int> std::optional<Int> parseInteger(std::string_view text)
{
    const auto parts = splitSignedDigits(text);
    if (!parts)
        return std::nullopt;
    std::string_view digits = parts->digits;
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    // Longer digit strings are out of range for every type parsed here; up to eleven digits
    // are accumulated safely in 64 bits and range-checked afterwards.
    if (digits.size() > 11)
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : digits)
        magnitude = magnitude * 10 + (c - '0');
    const std::int64_t value = parts->negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

// A non-empty run of decimal digits as the nearest double (ties to even), failing beyond the
// double range. std::from_chars does that where the standard library has it for double; where it
// does not (libc++ before version 20, as in the WebAssembly build), std::strtod does the same:
// for a text of digits alone it depends on no locale, and it rounds correctly in the C
// libraries Pendro is built with (glibc, and musl in emscripten), however many digits there are.
std::optional<double> digitsToDouble(std::string_view digits)
{
#if defined(__cpp_lib_to_chars)
    double value = 0.0;
    const char* last = digits.data() + digits.size();
    const auto [end, error] = std::from_chars(digits.data(), last, value);
    if (error != std::errc {} || end != last)
        return std::nullopt;
    return value;
#else
    const std::string text(digits);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno == ERANGE || end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
#endif
}

// A finite non-zero double rounded to 15 significant digits: d[0],d[1]...d[14] times
// 10 to the power exponent, so d[0] sits at 10^exponent.
struct Rounded15
{
    bool negative = false;
    std::array<int, 15> digits {};
    int exponent = 0;
};

// Rounds from the exact decimal expansion of the double: the 16th significant digit decides,
// 5 and above rounding up in magnitude. glibc prints every digit exactly, and 800 digits
// after the point cover the longest expansion a double can have (767 significant digits).
Rounded15 roundTo15Digits(double value)
{
    Rounded15 result;
    result.negative = std::signbit(value);
    std::array<char, 840> buffer {};
    std::snprintf(buffer.data(), buffer.size(), "%.800e", std::fabs(value));
    // Layout: d.ddd...e[+-]xx with 800 digits after the point.
    std::array<int, 16> digits {};
    digits[0] = buffer[0] - '0';
    for (int i = 1; i < 16; ++i)
        digits[static_cast<std::size_t>(i)] = buffer[static_cast<std::size_t>(i) + 1] - '0';
    const char* exponentText = buffer.data() + 802;
    result.exponent = static_cast<int>(std::strtol(exponentText + 1, nullptr, 10));

    for (int i = 0; i < 15; ++i)
        result.digits[static_cast<std::size_t>(i)] = digits[static_cast<std::size_t>(i)];
    if (digits[15] >= 5) {
        int i = 14;
        while (i >= 0 && result.digits[static_cast<std::size_t>(i)] == 9) {
            result.digits[static_cast<std::size_t>(i)] = 0;
            --i;
        }
        if (i >= 0) {
            ++result.digits[static_cast<std::size_t>(i)];
        } else {
            result.digits.fill(0);
            result.digits[0] = 1;
            ++result.exponent;
        }
    }
    return result;
}

// The digits of a rounded value as text, without the trailing zeros.
std::string significantDigits(const std::array<int, 15>& digits)
{
    std::string text;
    for (int d : digits)
        text.push_back(static_cast<char>('0' + d));
    while (text.size() > 1 && text.back() == '0')
        text.pop_back();
    return text;
}

} // namespace

std::optional<std::int16_t> parseInt16(std::string_view text)
{
    return parseInteger<std::int16_t>(text);
}

std::optional<std::int32_t> parseInt32(std::string_view text)
{
    return parseInteger<std::int32_t>(text);
}

std::optional<std::int64_t> parseWholeNumber(std::string_view text, std::int64_t limit)
{
    const auto parts = splitSignedDigits(text);
    if (!parts || limit < 0)
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : parts->digits) {
        const int digit = c - '0';
        if (digit > limit || magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    return parts->negative ? -magnitude : magnitude;
}

std::optional<double> parseDouble(std::string_view text)
{
    const auto parts = splitSignedDigits(text);
    if (!parts)
        return std::nullopt;
    const auto value = digitsToDouble(parts->digits);
    if (!value)
        return std::nullopt;
    return parts->negative ? -*value : *value;
}

std::string formatInt(std::int64_t value)
{
    return std::to_string(value);
}

// NaN and the infinities never come from the program's own computations; they show as "0"
// rather than as some undefined text.
std::string formatDouble(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    const Rounded15 rounded = roundTo15Digits(value);
    const std::string digits = significantDigits(rounded.digits);
    const int count = static_cast<int>(digits.size());
    std::string text = rounded.negative ? "-" : "";

    if (rounded.exponent >= 15) {
        text += digits[0];
        if (count > 1) {
            text += ',';
            text.append(digits, 1);
        }
        text += "E+";
        if (rounded.exponent < 10)
            text += '0';
        text += std::to_string(rounded.exponent);
        return text;
    }

    if (rounded.exponent >= 0) {
        const int integerDigits = rounded.exponent + 1;
        if (count <= integerDigits) {
            text += digits;
            text.append(static_cast<std::size_t>(integerDigits - count), '0');
        } else {
            text.append(digits, 0, static_cast<std::size_t>(integerDigits));
            text += ',';
            text.append(digits, static_cast<std::size_t>(integerDigits));
        }
    } else {
        text += "0,";
        text.append(static_cast<std::size_t>(-rounded.exponent - 1), '0');
        text += digits;
    }
    return text;
}

std::string formatDecimalPattern(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0,";
    const Rounded15 rounded = roundTo15Digits(value);

    // Place value of digit i is 10^(exponent - i); the pattern keeps places down to 10^-14.
    // Work on the digits with one leading slot for a carry out of the first digit.
    constexpr int MaxDecimals = 14;
    std::vector<int> digits(rounded.digits.begin(), rounded.digits.end());
    digits.insert(digits.begin(), 0);
    int exponent = rounded.exponent + 1; // place value of digits[0]
    const int keep = exponent + MaxDecimals + 1; // digits at places 10^exponent .. 10^-14
    if (keep < static_cast<int>(digits.size())) {
        const bool roundUp = keep >= 0 && digits[static_cast<std::size_t>(keep)] >= 5;
        digits.resize(static_cast<std::size_t>(std::max(keep, 0)));
        if (roundUp) {
            // digits[0] is the carry slot and always 0 here, so the carry stops at the latest
            // there.
            std::size_t i = static_cast<std::size_t>(keep - 1);
            while (digits[i] == 9) {
                digits[i] = 0;
                --i;
            }
            ++digits[i];
        }
    }

    std::string integerPart;
    std::string fraction;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int place = exponent - static_cast<int>(i);
        const char c = static_cast<char>('0' + digits[i]);
        if (place >= 0)
            integerPart += c;
        else
            fraction += c;
    }
    // Leading zeros of the fraction that lie above the first stored digit.
    if (exponent < -1)
        fraction.insert(0, static_cast<std::size_t>(-1 - exponent), '0');
    // Integer places below the last stored digit.
    const int lowestPlace = exponent - static_cast<int>(digits.size()) + 1;
    if (lowestPlace > 0)
        integerPart.append(static_cast<std::size_t>(lowestPlace), '0');

    const auto firstNonZero = integerPart.find_first_not_of('0');
    integerPart = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();

    const bool isZero = integerPart == "0" && fraction.empty();
    std::string text = (rounded.negative && !isZero) ? "-" : "";
    text += integerPart;
    text += ',';
    text += fraction;
    return text;
}

} // namespace pendro
