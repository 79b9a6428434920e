// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/key_filters.h"

namespace pendro {

namespace {

constexpr KeyCode KeyPlus = 43; // '+'
constexpr KeyCode KeyMinus = 45; // '-'
constexpr KeyCode KeySlash = 47; // '/'
constexpr KeyCode KeyZero = 48; // '0'
constexpr KeyCode KeyTwo = 50; // '2'
constexpr KeyCode KeyFive = 53; // '5'
constexpr KeyCode KeyNine = 57; // '9'
constexpr KeyCode KeyEquals = 61; // '='

} // namespace

KeyCode MainDigitKeyFilter(KeyCode code)
{
    return (code >= KeyZero && code <= KeyNine) ? code : 0;
}

KeyCode DigitKeyFilter(KeyCode code)
{
    return ((code >= KeySlash && code <= KeyNine) || code == KeyBackspace) ? code : 0;
}

KeyCode SignedDigitKeyFilter(KeyCode code, std::string_view currentText)
{
    return SignedDigitKeyFilterOnEmptiness(code, currentText.empty());
}

KeyCode SignedDigitKeyFilterOnEmptiness(KeyCode code, bool fieldIsEmpty)
{
    if (code == KeyPlus || code == KeyMinus)
        return fieldIsEmpty ? code : 0;
    return DigitKeyFilter(code);
}

KeyCode TermCountKeyFilter(KeyCode code)
{
    if (code > KeyFive)
        return KeyFive;
    if (code == KeyBackspace || (code >= KeyTwo && code <= KeyFive))
        return code;
    return KeyFive;
}

KeyCode EqualsBoxKeyFilter(KeyCode code, std::string_view currentText)
{
    if (code == KeyBackspace)
        return KeyBackspace;
    if (currentText.empty() && code == KeyEquals)
        return KeyEquals;
    return 0;
}

KeyCode OperatorKeyFilter(KeyCode code, std::string_view currentText)
{
    if (code == KeyBackspace)
        return KeyBackspace;
    if (!currentText.empty())
        return 0;
    return (code == KeyPlus || code == KeyMinus) ? code : 0;
}

} // namespace pendro
