// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include <QComboBox>

#include "toolkit/text_box.h"

namespace pendro {

// An editable combo box whose typed keys pass through a key rule. The box never adds items of its
// own and has no completer. Its change handler is a change rule (see TextBox): it sees every
// change of the text, including those it makes itself and every key of a paste, and may replace
// the text. Other listeners of editTextChanged see a paste as one change, to its final text.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

    TextBox* textBox() const { return m_textBox; }
    void setKeyRule(TextBox::KeyRule rule) { m_textBox->setKeyRule(std::move(rule)); }
    void setKeyRule(TextBox::CodeRule rule) { m_textBox->setKeyRule(std::move(rule)); }
    void setChangeRule(TextBox::ChangeRule rule);

private:
    TextBox* m_textBox;
    TextBox::ChangeRule m_changeRule;
};

} // namespace pendro
