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
constexpr const char* ClientWidthProperty = "twipsClientWidth";
constexpr const char* ClientHeightProperty = "twipsClientHeight";
// Set on a top-level window by applyZoom.
constexpr const char* ZoomProperty = "pendroZoom";
}

int twipsToPixels(double twips, double zoom)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel * zoom));
}

double windowZoom(const QWidget* widget)
{
    const QWidget* window = widget->window();
    while (window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    const QVariant zoom = window->property(ZoomProperty);
    return zoom.isValid() ? zoom.toDouble() : 1.0;
}

void setWindowZoom(QWidget* window, double zoom)
{
    window->setProperty(ZoomProperty, zoom);
}

void setTwipsGeometry(QWidget* widget, const TwipsRect& rect)
{
    widget->setProperty(LeftProperty, rect.left);
    widget->setProperty(TopProperty, rect.top);
    widget->setProperty(WidthProperty, rect.width);
    widget->setProperty(HeightProperty, rect.height);
    const double zoom = windowZoom(widget);
    widget->setGeometry(twipsToPixels(rect.left, zoom), twipsToPixels(rect.top, zoom),
        twipsToPixels(rect.width, zoom), twipsToPixels(rect.height, zoom));
}

TwipsRect twipsGeometry(const QWidget* widget)
{
    return { widget->property(LeftProperty).toDouble(), widget->property(TopProperty).toDouble(),
        widget->property(WidthProperty).toDouble(), widget->property(HeightProperty).toDouble() };
}

bool hasTwipsGeometry(const QWidget* widget)
{
    return widget->property(WidthProperty).isValid();
}

void setTwipsLeft(QWidget* widget, double left)
{
    TwipsRect rect = twipsGeometry(widget);
    rect.left = left;
    setTwipsGeometry(widget, rect);
}

void setClientSizeTwips(QWidget* window, double width, double height)
{
    window->setProperty(ClientWidthProperty, width);
    window->setProperty(ClientHeightProperty, height);
    const double zoom = windowZoom(window);
    window->setFixedSize(twipsToPixels(width, zoom), twipsToPixels(height, zoom));
}

void renewTwipsGeometry(QWidget* widget)
{
    if (hasTwipsGeometry(widget))
        setTwipsGeometry(widget, twipsGeometry(widget));
    const QVariant width = widget->property(ClientWidthProperty);
    if (width.isValid())
        setClientSizeTwips(
            widget, width.toDouble(), widget->property(ClientHeightProperty).toDouble());
}

} // namespace pendro
