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
}

} // namespace pendro
