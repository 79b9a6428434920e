// SPDX-License-Identifier: GPL-3.0-or-later
// The key rules on arbitrary 16-bit codes and field texts. Two kinds of checks:
//  - one key: the result is 0, the code itself, or the replacement the rule documents;
//  - a typing session: the input is replayed as keys typed into one field per rule (caret
//    anywhere, Backspace deleting before it), and the field text must stay in the rule's
//    language: digits only; "0".."9", "/" and at most one sign; "" or "="; "", "+" or "-";
//    only "2".."5".
#include "core/key_filters.h"
#include "fuzz/fuzz_check.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace pendro;
using namespace pendro::fuzz;

namespace {

constexpr KeyCode Plus = '+';
constexpr KeyCode Minus = '-';
constexpr KeyCode Equals = '=';
constexpr KeyCode Five = '5';

bool isDigitCode(KeyCode c)
{
    return c >= '0' && c <= '9';
}
bool isDigitOrSlash(KeyCode c)
{
    return isDigitCode(c) || c == '/';
}

std::string describe(const char* rule, KeyCode code, std::string_view text, KeyCode result)
{
    return std::string(rule) + "(" + std::to_string(code) + ", " + quoted(text)
        + ") = " + std::to_string(result);
}

void checkOneKey(KeyCode code, std::string_view text)
{
    KeyCode r = MainDigitKeyFilter(code);
    FUZZ_CHECK(r == (isDigitCode(code) ? code : 0), describe("MainDigit", code, text, r));

    r = DigitKeyFilter(code);
    FUZZ_CHECK(r == ((isDigitOrSlash(code) || code == KeyBackspace) ? code : 0),
        describe("Digit", code, text, r));

    r = SignedDigitKeyFilter(code, text);
    // A paste judges the key by the field's emptiness alone; it must come to the same.
    FUZZ_CHECK(r == SignedDigitKeyFilterOnEmptiness(code, text.empty()),
        describe("SignedDigitOnEmptiness", code, text, r));
    const bool sign = code == Plus || code == Minus;
    FUZZ_CHECK(r == 0 || r == code, describe("SignedDigit", code, text, r));
    FUZZ_CHECK((r == code && code != 0)
            == (sign ? text.empty() : (isDigitOrSlash(code) || code == KeyBackspace)),
        describe("SignedDigit", code, text, r));

    // Every key but Backspace and "2".."5" types a "5".
    r = TermCountKeyFilter(code);
    const bool passes = code == KeyBackspace || (code >= '2' && code <= '5');
    FUZZ_CHECK(r == (passes ? code : Five), describe("TermCount", code, text, r));

    r = EqualsBoxKeyFilter(code, text);
    FUZZ_CHECK(r == 0 || r == code, describe("EqualsBox", code, text, r));
    FUZZ_CHECK(
        (r == code && code != 0) == (code == KeyBackspace || (code == Equals && text.empty())),
        describe("EqualsBox", code, text, r));

    r = OperatorKeyFilter(code, text);
    FUZZ_CHECK(r == 0 || r == code, describe("Operator", code, text, r));
    FUZZ_CHECK((r == code && code != 0) == (code == KeyBackspace || (sign && text.empty())),
        describe("Operator", code, text, r));
}

// A field that applies a rule's result as the key hook does: 0 swallows, Backspace deletes the
// character before the caret, anything else is inserted at the caret.
struct Field
{
    std::u16string text;
    std::size_t caret = 0;

    std::string narrow() const
    {
        std::string result;
        for (char16_t c : text)
            result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return result;
    }

    void apply(KeyCode code)
    {
        if (code == 0)
            return;
        if (code == KeyBackspace) {
            if (caret > 0)
                text.erase(--caret, 1);
            return;
        }
        text.insert(caret++, 1, static_cast<char16_t>(code));
    }
};

void checkSession(const std::uint8_t* data, std::size_t size)
{
    Field main, digit, signedDigit, termCount, equals, op;
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        KeyCode code = 0;
        std::memcpy(&code, data + i, 2);
        // Mostly the interesting ASCII range, now and then any code.
        if ((data[i + 2] & 0x80) == 0)
            code = static_cast<KeyCode>(code % 0x80);
        const std::uint8_t caretByte = data[i + 2] & 0x7f;
        for (Field* field : { &main, &digit, &signedDigit, &termCount, &equals, &op })
            field->caret = field->text.empty() ? 0 : caretByte % (field->text.size() + 1);

        main.apply(MainDigitKeyFilter(code));
        digit.apply(DigitKeyFilter(code));
        signedDigit.apply(SignedDigitKeyFilter(code, signedDigit.narrow()));
        termCount.apply(TermCountKeyFilter(code));
        equals.apply(EqualsBoxKeyFilter(code, equals.narrow()));
        op.apply(OperatorKeyFilter(code, op.narrow()));

        for (char16_t c : main.text)
            FUZZ_CHECK(isDigitCode(c), "main field " + quoted(main.narrow()));
        for (char16_t c : digit.text)
            FUZZ_CHECK(isDigitOrSlash(c), "digit field " + quoted(digit.narrow()));
        // A sign goes only into an empty field, but digits typed before it later are fine
        // ("-", Home, "3" gives "3-"): at most one sign, anywhere.
        int signs = 0;
        for (char16_t c : signedDigit.text) {
            signs += (c == Plus || c == Minus) ? 1 : 0;
            FUZZ_CHECK(isDigitOrSlash(c) || c == Plus || c == Minus,
                "signed field " + quoted(signedDigit.narrow()));
        }
        FUZZ_CHECK(signs <= 1, "signed field " + quoted(signedDigit.narrow()));
        for (char16_t c : termCount.text)
            FUZZ_CHECK(c >= '2' && c <= '5', "term count " + quoted(termCount.narrow()));
        FUZZ_CHECK(
            equals.text.empty() || equals.text == u"=", "equals box " + quoted(equals.narrow()));
        FUZZ_CHECK(op.text.empty() || op.text == u"+" || op.text == u"-",
            "operator field " + quoted(op.narrow()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 2) {
        KeyCode code = 0;
        std::memcpy(&code, data, 2);
        const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
        checkOneKey(code, text);
        checkOneKey(code, std::string_view());
    }
    checkSession(data, size);
    return 0;
}
