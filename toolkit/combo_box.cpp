// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/combo_box.h"

namespace pendro {

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_textBox(new TextBox(this))
{
    setEditable(true);
    setLineEdit(m_textBox);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(this, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_changeRule)
            return;
        if (std::optional<QString> replacement = m_changeRule(text);
            replacement && *replacement != text)
            setEditText(*replacement);
    });
}

void ComboBox::setChangeRule(TextBox::ChangeRule rule)
{
    m_changeRule = rule;
    m_textBox->setChangeRule(std::move(rule));
}

} // namespace pendro
