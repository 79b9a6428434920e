// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

namespace pendro {

// The help window: one label with the explanatory text and the worked ggT/kgV example.
//
// It has no behaviour of its own. The application object creates it on the first "Hilfe" and
// shows it again on later ones; it deletes itself when closed, so the next request builds it
// afresh. The text comes from helpText() with its line breaks in place, in a fixed-width font
// whose size is chosen so that a full 70-character line fits the label.
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget* parent = nullptr);
};

} // namespace pendro
