// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

// Key rules: each takes the typed character's 16-bit code and returns the code to use.
// 0 swallows the key, the same code passes it, another code is inserted instead.
namespace pendro {

using KeyCode = std::uint16_t;

constexpr KeyCode KeyBackspace = 8;
constexpr KeyCode KeyReturn = 13;
constexpr KeyCode KeyEscape = 27;
constexpr KeyCode KeyPaste = 22; // Ctrl+V

// The main window's number fields: digits only; Backspace is discarded too.
KeyCode MainDigitKeyFilter(KeyCode code);

// Digits, "/" and Backspace.
KeyCode DigitKeyFilter(KeyCode code);

// As DigitKeyFilter, and "+" or "-" while the field's text is still empty.
KeyCode SignedDigitKeyFilter(KeyCode code, std::string_view currentText);
// The same rule for a caller that knows only whether the field is empty, which is all the rule
// looks at; a paste judges every key this way without copying the text.
KeyCode SignedDigitKeyFilterOnEmptiness(KeyCode code, bool fieldIsEmpty);

// The term-count box: Backspace and "2".."5" pass, every other key types "5".
KeyCode TermCountKeyFilter(KeyCode code);

// An "=" box: Backspace passes, "=" passes while the box is empty, everything else is refused.
KeyCode EqualsBoxKeyFilter(KeyCode code, std::string_view currentText);

// An operator field: Backspace passes, "+" or "-" while the field is empty, nothing else.
KeyCode OperatorKeyFilter(KeyCode code, std::string_view currentText);

} // namespace pendro
