// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QColor;
class QPalette;
class QStyle;

namespace pendro {

// The Fusion style with a focus indicator, field edges and check box frames that every pupil can
// see in light and dark palettes, and the menu bar entry that the keyboard has reached
// highlighted. Besides, the icons of the menu bar's overflow button are decoded only when that
// button is first drawn: every QMenuBar asks the style for them when it is built, and decoding
// Qt's own icon files there loads every image-format plugin at start-up, for a button that a
// window as wide as its menu never shows. A check box's indicator follows the zoom of its window
// (toolkit/zoom.h).
QStyle* makeApplicationStyle();

// What the style keeps to: the focus indicator is FocusWidth pixels wide, and it, the edges of
// fields and the frames of check boxes stand out at least MinimumContrast : 1 against the window.
constexpr int FocusWidth = 2;
constexpr double MinimumContrast = 3.0;

// The contrast ratio of two colours by their relative luminance, from 1 to 21.
double contrastRatio(const QColor& first, const QColor& second);
// The focus indicator's colour on fields and in the window.
QColor focusColour(const QPalette& palette);

} // namespace pendro
