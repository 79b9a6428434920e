// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

#include "toolkit/text_box.h"

namespace pendro {

// An editable combo box whose typed keys pass through a key rule. The box never adds items of its
// own and has no completer; its text changes are reported by editTextChanged, including changes
// made from inside a handler of that signal.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

    TextBox* textBox() const { return m_textBox; }
    void setKeyRule(TextBox::KeyRule rule) { m_textBox->setKeyRule(std::move(rule)); }

private:
    TextBox* m_textBox;
};

} // namespace pendro
