// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace pendro {

// A push button whose caption wraps at word boundaries when the button is too narrow for one
// line, as the tall trainer buttons need ("Neue Aufgabe" over two lines). text() is the caption.
class Button : public QPushButton
{
    Q_OBJECT

public:
    explicit Button(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Return and keypad Enter press the focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace pendro
