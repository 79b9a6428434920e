// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A broken property aborts, so that libFuzzer stores the input as a crash artifact.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::pendro::fuzz::fail(#condition, __FILE__, __LINE__, (detail));                        \
    } while (false)

namespace pendro::fuzz {

[[noreturn]] inline void fail(
    const char* condition, const char* file, int line, std::string_view detail)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n  %.*s\n", file, line, condition,
        static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// Bytes shown readably in a failure message.
inline std::string quoted(std::string_view text)
{
    std::string result = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            result.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            result += escaped;
        }
    }
    return result + "\"";
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool allDigits(std::string_view text)
{
    for (char c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// "[+|-]digits", the only form the number-text conversions accept.
struct SignedDigitText
{
    bool negative = false;
    std::string_view digits;
};

inline bool splitSignedDigitText(std::string_view text, SignedDigitText& out)
{
    out = {};
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        out.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !allDigits(text))
        return false;
    out.digits = text;
    return true;
}

} // namespace pendro::fuzz
