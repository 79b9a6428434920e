// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "toolkit/zoom.h"

class QLabel;

namespace pendro {

// The help window: one label with the explanatory text and the worked ggT/kgV example.
//
// It has no behaviour of its own. The application object creates it on the first "Hilfe" and
// shows it again on later ones; it deletes itself when closed, so the next request builds it
// afresh. The text comes from helpText() with its line breaks in place, in a fixed-width font
// whose size is chosen so that a full 70-character line fits the label, at every zoom.
class frmHelp : public QWidget, public ZoomFollower
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget* parent = nullptr);

    void zoomApplied(double factor) override;

private:
    QLabel* m_label = nullptr;
};

} // namespace pendro
