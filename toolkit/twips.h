// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Geometry in twips: 1/1440 inch, 15 twips to one logical pixel at 100 %. A control keeps its
// twips exactly (fractional values too) so that tests and tools can read them back; its pixel
// geometry follows from them and from the zoom of its window (toolkit/zoom.h), so that a zoom
// only has to place every control again from what it keeps.
namespace pendro {

constexpr double TwipsPerPixel = 15.0;

struct TwipsRect
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Pixels at a zoom factor (1 for 100 %).
int twipsToPixels(double twips, double zoom = 1.0);

// The zoom factor of the window that widget belongs to: 1 until applyZoom (toolkit/zoom.h) gives
// it another. A popup menu counts as part of the window it opens from.
double windowZoom(const QWidget* widget);
void setWindowZoom(QWidget* window, double zoom);

void setTwipsGeometry(QWidget* widget, const TwipsRect& rect);
TwipsRect twipsGeometry(const QWidget* widget);
bool hasTwipsGeometry(const QWidget* widget);
void setTwipsLeft(QWidget* widget, double left);

// The size of a window's client area (kept in twips as well).
void setClientSizeTwips(QWidget* window, double width, double height);

// Places widget again from the twips it keeps, its geometry or its client size, at the zoom of
// its window now. A widget without twips stays as it is.
void renewTwipsGeometry(QWidget* widget);

} // namespace pendro
