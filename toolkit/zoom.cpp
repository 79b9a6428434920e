// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/zoom.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QVariant>
#include <QWidget>

#include "toolkit/line_control.h"
#include "toolkit/twips.h"

namespace pendro {

namespace {
constexpr const char* FontProperty = "fontAtHundred";

int scaledUp(int pixels, int percent)
{
    return (pixels * percent + 99) / 100;
}

bool allFit(const std::vector<WindowRoom>& windows, int percent)
{
    return std::all_of(windows.begin(), windows.end(),
        [percent](const WindowRoom& window) { return fitsAt(window, percent); });
}

// The font factor times as large, rounded down to whole pixels. Qt draws a font at a whole pixel
// size, rounded to the nearest; half a pixel more than in proportion would make a text overrun
// the label that just holds it at 100 % (the frame fonts' 13 px, at 150 %).
QFont scaledFont(QFont font, double factor, int dpi)
{
    if (font.pointSizeF() <= 0 || factor == 1.0)
        return font;
    const double pixels = std::floor(font.pointSizeF() * dpi / 72.0 * factor + 1e-6);
    font.setPointSizeF(pixels * 72.0 / dpi);
    return font;
}
// Glyph advances are rounded differently at every size (Windows rounds them to whole pixels), so
// a caption that just fits its label at 100 % can come out a few pixels wider than in proportion
// at another size. Such a label's font goes down by whole pixels until the caption fits again.
void keepCaptionInside(QLabel* label, const QFont& atHundred, double factor)
{
    const QString text = label->text();
    if (factor == 1.0 || text.isEmpty() || label->wordWrap() || text.contains(QLatin1Char('\n'))
        || !hasTwipsGeometry(label))
        return;
    const int margins = label->width() - label->contentsRect().width();
    const int roomAtHundred = twipsToPixels(twipsGeometry(label).width) - margins;
    if (QFontMetrics(atHundred, label).horizontalAdvance(text) > roomAtHundred)
        return; // it does not fit at 100 % either
    const int room = label->contentsRect().width();
    const int dpi = label->logicalDpiY();
    QFont font = label->font();
    int pixels = static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
    if (QFontMetrics(font, label).horizontalAdvance(text) <= room)
        return;
    while (pixels > 1 && QFontMetrics(font, label).horizontalAdvance(text) > room)
        font.setPointSizeF(--pixels * 72.0 / dpi);
    label->setFont(font);
}
} // namespace

bool fitsAt(const WindowRoom& window, int percent)
{
    return scaledUp(window.atHundred.width(), percent) + window.frame.width()
        <= window.available.width()
        && scaledUp(window.atHundred.height(), percent) + window.frame.height()
        <= window.available.height();
}

bool ZoomControl::change(ZoomChange change, const std::vector<WindowRoom>& openWindows)
{
    std::size_t wanted = m_step;
    switch (change) {
    case ZoomChange::In:
        if (m_step + 1 < ZoomPercents.size() && allFit(openWindows, ZoomPercents[m_step + 1]))
            wanted = m_step + 1;
        break;
    case ZoomChange::Out:
        wanted = m_step > 0 ? m_step - 1 : 0;
        break;
    case ZoomChange::Reset:
        wanted = 0;
        break;
    }
    const bool changed = wanted != m_step;
    m_step = wanted;
    return changed;
}

bool ZoomControl::stepDownToFit(const std::vector<WindowRoom>& openWindows)
{
    const std::size_t before = m_step;
    while (m_step > 0 && !allFit(openWindows, percent()))
        --m_step;
    return m_step != before;
}

void setScalableFont(QWidget* widget, const QFont& atHundred)
{
    widget->setProperty(FontProperty, atHundred);
    widget->setFont(scaledFont(atHundred, windowZoom(widget), widget->logicalDpiY()));
}

void applyZoom(QWidget* window, double factor)
{
    setWindowZoom(window, factor);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        const QVariant font = widget->property(FontProperty);
        if (font.isValid())
            widget->setFont(scaledFont(font.value<QFont>(), factor, widget->logicalDpiY()));
        if (auto* line = qobject_cast<Line*>(widget))
            line->renew();
        else
            renewTwipsGeometry(widget);
        if (auto* label = qobject_cast<QLabel*>(widget); label && font.isValid())
            keepCaptionInside(label, font.value<QFont>(), factor);
    }
    // A window with a layout (the main window's menu bar over its client area) takes its new
    // size now rather than at the next turn of the event loop.
    if (window->layout())
        window->layout()->activate();
    if (auto* follower = dynamic_cast<ZoomFollower*>(window))
        follower->zoomApplied(factor);
}

} // namespace pendro
