// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Geometry in twips: 1/1440 inch, 15 twips to one logical pixel. A control keeps its twips
// exactly (fractional values too) so that tests and tools can read them back; its pixel
// geometry follows from them.
namespace pendro {

constexpr double TwipsPerPixel = 15.0;

struct TwipsRect
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

int twipsToPixels(double twips);

void setTwipsGeometry(QWidget* widget, const TwipsRect& rect);
TwipsRect twipsGeometry(const QWidget* widget);
void setTwipsLeft(QWidget* widget, double left);

// The size of a window's client area.
void setClientSizeTwips(QWidget* window, double width, double height);

} // namespace pendro
