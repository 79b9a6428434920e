// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/twips.h"

#include <cmath>

#include <QVariant>
#include <QWidget>

namespace pendro {

namespace {
constexpr const char* LeftProperty = "twipsLeft";
constexpr const char* TopProperty = "twipsTop";
constexpr const char* WidthProperty = "twipsWidth";
constexpr const char* HeightProperty = "twipsHeight";
}

int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

void setTwipsGeometry(QWidget* widget, const TwipsRect& rect)
{
    widget->setProperty(LeftProperty, rect.left);
    widget->setProperty(TopProperty, rect.top);
    widget->setProperty(WidthProperty, rect.width);
    widget->setProperty(HeightProperty, rect.height);
    widget->setGeometry(twipsToPixels(rect.left), twipsToPixels(rect.top),
        twipsToPixels(rect.width), twipsToPixels(rect.height));
}

TwipsRect twipsGeometry(const QWidget* widget)
{
    return { widget->property(LeftProperty).toDouble(), widget->property(TopProperty).toDouble(),
        widget->property(WidthProperty).toDouble(), widget->property(HeightProperty).toDouble() };
}

void setTwipsLeft(QWidget* widget, double left)
{
    TwipsRect rect = twipsGeometry(widget);
    rect.left = left;
    setTwipsGeometry(widget, rect);
}

void setClientSizeTwips(QWidget* window, double width, double height)
{
    window->setFixedSize(twipsToPixels(width), twipsToPixels(height));
}

} // namespace pendro
