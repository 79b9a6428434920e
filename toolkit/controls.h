// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

#include "toolkit/fonts.h"
#include "toolkit/twips.h"

// Small helpers that the windows' control tables share.
namespace pendro {

// The objectName of member index of a control array: "txtZ1_3".
QString arrayName(const char* name, int index);

// Places a control from its table row: name, twips geometry, font (both at the zoom of its
// window, see toolkit/zoom.h), tooltip.
void placeControl(QWidget* control, const QString& name, const TwipsRect& rect,
    const FontSpec& font, const QString& toolTip = {});

// A button with a fixed background colour and dark text, readable on light and dark desktops.
void setButtonColour(QAbstractButton* button, const QColor& colour);

// A small credit line in the desktop's button-shadow grey.
void makeCreditLabel(QLabel* label);

// The common window icon.
QIcon pendroIcon();

} // namespace pendro
