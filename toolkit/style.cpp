// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/style.h"

#include <cmath>

#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>

#include "toolkit/twips.h"

namespace pendro {

namespace {

// Stands for the style's own icon and fetches it the first time it is drawn or measured.
class DeferredStyleIcon : public QIconEngine
{
public:
    DeferredStyleIcon(QStyle* style, QStyle::StandardPixmap which)
        : m_style(style)
        , m_which(which)
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("pendro-deferred-style-icon"); }
    QIconEngine* clone() const override { return new DeferredStyleIcon(*this); }

private:
    const QIcon& icon()
    {
        if (m_icon.isNull() && m_style)
            m_icon = m_style->standardIcon(m_which);
        return m_icon;
    }

    // The application may replace its style while a menu bar still holds the icon.
    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

class ApplicationStyle : public QProxyStyle
{
public:
    ApplicationStyle()
        : QProxyStyle(QStringLiteral("Fusion"))
    { }

    QIcon standardIcon(QStyle::StandardPixmap which, const QStyleOption* option,
        const QWidget* widget) const override
    {
        // Fusion draws these two the same for every widget and option.
        if (which == SP_ToolBarHorizontalExtensionButton
            || which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new DeferredStyleIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }

    // A check box's indicator grows with the zoom of its window, as its font and its twips do.
    int pixelMetric(
        PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (widget && (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight))
            return static_cast<int>(std::lround(size * windowZoom(widget)));
        return size;
    }
};

} // namespace

QStyle* makeApplicationStyle()
{
    return new ApplicationStyle;
}

} // namespace pendro
