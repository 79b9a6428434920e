// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts: parseInt16/parseInt32/parseDouble on arbitrary bytes, formatInt, formatDouble and
// formatDecimalPattern on arbitrary doubles. The rounding to 15 significant digits is checked
// against glibc's own correctly rounded printf, with exact ties turned away from zero.
#include "core/number_text.h"
#include "fuzz/fuzz_check.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

using namespace pendro;
using namespace pendro::fuzz;

namespace {

// A decimal value: significant digits without leading or trailing zeros, the first of them
// standing at 10^exponent. Zero has no digits.
struct Decimal
{
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

std::string describe(const Decimal& d)
{
    return (d.negative ? "-" : "+") + d.digits + "e" + std::to_string(d.exponent);
}

// x != 0 and finite, rounded to 15 significant digits, an exact tie away from zero.
Decimal referenceRounding(double x)
{
    Decimal result;
    result.negative = std::signbit(x);
    const double magnitude = std::fabs(x);
    char nearest[64];
    std::snprintf(nearest, sizeof nearest, "%.14e", magnitude); // d.dddddddddddddde+XX
    std::string digits = std::string(1, nearest[0]) + std::string(nearest + 2, 14);
    int exponent = std::atoi(nearest + 17);

    // printf breaks exact ties to even; look for one in the full expansion.
    static char exact[900];
    std::snprintf(exact, sizeof exact, "%.800e", magnitude);
    const std::string_view expansion(exact + 2, 800); // digits after the first
    const bool tie = expansion[14] == '5' && expansion.find_first_not_of('0', 15) > 799;
    if (tie) {
        digits = std::string(1, exact[0]) + std::string(exact + 2, 14);
        exponent = std::atoi(exact + 803);
        int i = 14;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits = "1" + std::string(14, '0');
            ++exponent;
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    result.digits = digits;
    result.exponent = exponent;
    return result;
}

// Reads a shown number back, checking its form on the way:
//   -?D+(,D+)?(E+DD+)?   integer part without leading zeros, fraction without trailing zeros.
// pattern: the comma is always there, the fraction may be empty and has at most 14 digits,
// no exponent.
std::optional<Decimal> readShown(std::string_view text, bool pattern)
{
    Decimal result;
    if (!text.empty() && text.front() == '-') {
        result.negative = true;
        text.remove_prefix(1);
    }
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    const std::string_view integerPart = text.substr(0, end);
    text.remove_prefix(end);
    if (integerPart.empty() || (integerPart.size() > 1 && integerPart.front() == '0'))
        return std::nullopt;

    std::string_view fraction;
    const bool comma = !text.empty() && text.front() == ',';
    if (comma) {
        text.remove_prefix(1);
        end = 0;
        while (end < text.size() && isDigit(text[end]))
            ++end;
        fraction = text.substr(0, end);
        text.remove_prefix(end);
        if (!fraction.empty() && fraction.back() == '0')
            return std::nullopt;
        if (pattern ? fraction.size() > 14 : fraction.empty())
            return std::nullopt;
    } else if (pattern) {
        return std::nullopt;
    }

    int shownExponent = 0;
    if (!text.empty()) {
        if (pattern || text.size() < 4 || text.substr(0, 2) != "E+" || !allDigits(text.substr(2)))
            return std::nullopt;
        if (integerPart.size() != 1 || integerPart == "0")
            return std::nullopt;
        shownExponent = std::atoi(std::string(text.substr(2)).c_str());
    }

    std::string digits = std::string(integerPart) + std::string(fraction);
    int exponent = static_cast<int>(integerPart.size()) - 1 + shownExponent;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        if (result.negative)
            return std::nullopt; // "-0", "-0,"
        result.exponent = 0;
        return result;
    }
    digits.erase(0, first);
    exponent -= static_cast<int>(first);
    while (digits.back() == '0')
        digits.pop_back();
    result.digits = digits;
    result.exponent = exponent;
    return result;
}

// Keeps the places down to 10^-14 of a decimal below 1; the first dropped digit decides,
// 5 and above rounding up in magnitude. Zero comes out without sign.
Decimal roundToFourteenDecimals(const Decimal& d)
{
    const int keep = d.exponent + 15; // digits at the places 10^exponent .. 10^-14
    if (keep >= static_cast<int>(d.digits.size()))
        return d;
    Decimal result;
    result.negative = d.negative;
    if (keep < 0)
        return {};
    std::string digits = d.digits.substr(0, static_cast<std::size_t>(keep));
    int exponent = d.exponent;
    if (d.digits[static_cast<std::size_t>(keep)] >= '5') {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(0, 1, '1');
            ++exponent;
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        return {};
    result.digits = digits;
    result.exponent = exponent;
    return result;
}

void checkNoForbiddenText(const std::string& shown, double x)
{
    std::string lower = shown;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string detail = quoted(shown) + " for " + std::to_string(x);
    FUZZ_CHECK(lower.find("inf") == std::string::npos, detail);
    FUZZ_CHECK(lower.find("nan") == std::string::npos, detail);
    FUZZ_CHECK(shown != "-0" && shown != "-0,", detail);
}

void checkFormatDouble(double x)
{
    const std::string shown = formatDouble(x);
    checkNoForbiddenText(shown, x);
    char hex[64];
    std::snprintf(hex, sizeof hex, "%a", x);
    const std::string detail = quoted(shown) + " for " + hex;
    if (!std::isfinite(x) || x == 0.0) {
        FUZZ_CHECK(shown == "0", detail);
        return;
    }
    const auto read = readShown(shown, false);
    FUZZ_CHECK(read.has_value(), detail);
    const Decimal expected = referenceRounding(x);
    FUZZ_CHECK(read->negative == expected.negative && read->digits == expected.digits
            && read->exponent == expected.exponent,
        detail + " expected " + describe(expected));
    // Exponent form exactly when the integer part has more than 15 digits.
    FUZZ_CHECK((shown.find('E') != std::string::npos) == (expected.exponent >= 15), detail);
}

void checkFormatDecimalPattern(double x)
{
    const std::string shown = formatDecimalPattern(x);
    checkNoForbiddenText(shown, x);
    char hex[64];
    std::snprintf(hex, sizeof hex, "%a", x);
    const std::string detail = quoted(shown) + " for " + hex;
    if (!std::isfinite(x) || x == 0.0) {
        FUZZ_CHECK(shown == "0,", detail);
        return;
    }
    const auto read = readShown(shown, true);
    FUZZ_CHECK(read.has_value(), detail);
    const Decimal rounded = referenceRounding(x);
    if (rounded.exponent >= 0) {
        // Fifteen significant digits never reach below 10^-14 here: shown as they are.
        FUZZ_CHECK(read->negative == rounded.negative && read->digits == rounded.digits
                && read->exponent == rounded.exponent,
            detail + " expected " + describe(rounded));
        return;
    }
    // Below 1: the 15-digit value rounded at 10^-14, an exact tie away from zero.
    const Decimal expected = roundToFourteenDecimals(rounded);
    FUZZ_CHECK(read->negative == expected.negative && read->digits == expected.digits
            && read->exponent == expected.exponent,
        detail + " expected " + describe(expected) + " from " + describe(rounded));
}

// What parseInt16/parseInt32 must give: the signed digit form within the type's range.
template <typename Int> std::optional<Int> referenceInteger(std::string_view text)
{
    SignedDigitText parts;
    if (!splitSignedDigitText(text, parts))
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : parts.digits) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > (std::int64_t { 1 } << 40))
            return std::nullopt;
    }
    const std::int64_t value = parts.negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

void checkFormatInt(std::int64_t value)
{
    const std::string shown = formatInt(value);
    const std::string detail = quoted(shown) + " for " + std::to_string(value);
    // Plain digits, "-" only when negative, no leading zeros.
    std::string_view digits = shown;
    if (value < 0) {
        FUZZ_CHECK(!digits.empty() && digits.front() == '-', detail);
        digits.remove_prefix(1);
    }
    FUZZ_CHECK(!digits.empty() && allDigits(digits), detail);
    FUZZ_CHECK(digits.size() == 1 || digits.front() != '0', detail);
    std::int64_t back = 0;
    const auto [end, error] = std::from_chars(shown.data(), shown.data() + shown.size(), back);
    FUZZ_CHECK(
        error == std::errc {} && end == shown.data() + shown.size() && back == value, detail);
}

template <typename Int>
void checkParseInteger(std::string_view text, std::optional<Int> (*parse)(std::string_view))
{
    const std::optional<Int> got = parse(text);
    const std::optional<Int> expected = referenceInteger<Int>(text);
    const std::string detail = quoted(text) + " gave "
        + (got ? std::to_string(*got) : std::string("nothing")) + ", expected "
        + (expected ? std::to_string(*expected) : std::string("nothing"));
    FUZZ_CHECK(got == expected, detail);
    if (!got)
        return;
    // The number's canonical text converts back to the same number.
    const std::string canonical = formatInt(*got);
    FUZZ_CHECK(parse(canonical) == got, detail + ", canonical " + quoted(canonical));
}

void checkParseDouble(std::string_view text)
{
    const std::optional<double> got = parseDouble(text);
    SignedDigitText parts;
    std::optional<double> expected;
    if (splitSignedDigitText(text, parts)) {
        const std::string digits(parts.digits);
        errno = 0;
        const double value = std::strtod(digits.c_str(), nullptr);
        if (errno != ERANGE && std::isfinite(value))
            expected = parts.negative ? -value : value;
    }
    const std::string detail = quoted(text.substr(0, 80));
    FUZZ_CHECK(got.has_value() == expected.has_value(), detail);
    if (!got)
        return;
    FUZZ_CHECK(std::memcmp(&*got, &*expected, sizeof(double)) == 0, detail);

    // A whole number below 10^15 is shown with all its digits and reads back exactly.
    checkFormatDouble(*got);
    if (std::fabs(*got) < 1e15) {
        const auto back = parseDouble(formatDouble(*got));
        FUZZ_CHECK(back.has_value() && *back == *got, detail + " -> " + formatDouble(*got));
    }
    checkFormatDecimalPattern(*got);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkParseInteger<std::int16_t>(text, &parseInt16);
    checkParseInteger<std::int32_t>(text, &parseInt32);
    checkParseDouble(text);

    if (size >= 8) {
        double x = 0;
        std::int64_t whole = 0;
        std::memcpy(&x, data, sizeof x);
        std::memcpy(&whole, data, sizeof whole);
        checkFormatDouble(x);
        checkFormatDecimalPattern(x);
        checkFormatInt(whole);
    }
    if (size >= 4) {
        // The trainers' decimal value: a quotient of 16-bit whole numbers.
        std::int16_t numerator = 0;
        std::int16_t denominator = 0;
        std::memcpy(&numerator, data, 2);
        std::memcpy(&denominator, data + 2, 2);
        if (denominator != 0) {
            const double quotient = static_cast<double>(numerator) / denominator;
            checkFormatDouble(quotient);
            checkFormatDecimalPattern(quotient);
        }
    }
    return 0;
}
