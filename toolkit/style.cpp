// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/style.h"

#include <QAbstractItemView>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <initializer_list>

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

double luminance(const QColor& colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
        + 0.0722 * channel(rgb.blueF());
}

// The first colour that stands out at least 3:1 against every background given: the palette's
// own choice where it does, otherwise its text colour, otherwise black or white.
QColor firstContrasting(
    std::initializer_list<QColor> candidates, std::initializer_list<QColor> backgrounds)
{
    for (const QColor& candidate : candidates) {
        const bool readable = std::all_of(
            backgrounds.begin(), backgrounds.end(), [&candidate](const QColor& background) {
                return contrastRatio(candidate, background) >= MinimumContrast;
            });
        if (readable)
            return candidate;
    }
    const QColor background = *backgrounds.begin();
    return contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background)
        ? QColor(Qt::black)
        : QColor(Qt::white);
}

// Edges: Fusion's own grey where it stands out enough, otherwise moved towards the text colour
// until it does.
QColor edgeColour(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor text = palette.color(QPalette::WindowText);
    const QColor fusion = window.darker(140);
    for (int step = 0; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed = QColor::fromRgbF(float(fusion.redF() * (1 - t) + text.redF() * t),
            float(fusion.greenF() * (1 - t) + text.greenF() * t),
            float(fusion.blueF() * (1 - t) + text.blueF() * t));
        if (contrastRatio(mixed, window) >= MinimumContrast)
            return mixed;
    }
    return text;
}

void drawRing(QPainter* painter, const QRect& rect, const QColor& colour, int width)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    const QRect outer = rect;
    const QRect inner = rect.adjusted(width, width, -width, -width);
    painter->drawRect(QRect(outer.left(), outer.top(), outer.width(), width));
    painter->drawRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width));
    painter->drawRect(QRect(outer.left(), inner.top(), width, inner.height()));
    painter->drawRect(QRect(outer.right() - width + 1, inner.top(), width, inner.height()));
    painter->restore();
}

// Fusion with what every pupil needs to see: a focus indicator 2 pixels wide that stands out at
// least 3:1 against what is around it, field edges and check box frames that stand out as much
// against the window in light and dark palettes, and the menu bar entry that Alt or F10 has
// chosen highlighted.
class ApplicationStyle : public QProxyStyle
{
public:
    ApplicationStyle()
        : QProxyStyle(QStringLiteral("Fusion"))
    { }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        const QPalette& palette = option->palette;
        const bool focused = option->state & State_HasFocus;
        switch (element) {
        case PE_FrameLineEdit:
            drawRing(painter, option->rect, edgeColour(palette), 1);
            if (focused)
                drawRing(painter, option->rect, focusColour(palette), FocusWidth);
            return;
        case PE_Frame:
            // A list's frame: Qt does not mark it as focused, the list itself is.
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            drawRing(painter, option->rect, edgeColour(palette), 1);
            if (focused || (widget && widget->hasFocus()))
                drawRing(painter, option->rect, focusColour(palette), FocusWidth);
            return;
        case PE_IndicatorCheckBox:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            drawRing(painter, option->rect, edgeColour(palette), 1);
            return;
        case PE_FrameFocusRect:
            drawRing(painter, option->rect, focusColour(palette), FocusWidth);
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
        QPainter* painter, const QWidget* widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control != CC_ComboBox)
            return;
        drawRing(painter, option->rect, edgeColour(option->palette), 1);
        if (option->state & State_HasFocus)
            drawRing(painter, option->rect, focusColour(option->palette), FocusWidth);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        // Fusion highlights a menu bar entry only while its menu is open; the entry that the
        // keyboard has reached is highlighted too.
        if (element == CE_MenuBarItem && (option->state & State_Selected)
            && !(option->state & State_Sunken)) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem chosen = *item;
                chosen.state |= State_Sunken;
                QProxyStyle::drawControl(element, &chosen, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
        // Fusion marks a focused button by a thin outline only; the ring stands inside it, on
        // the button's own colour.
        if (element == CE_PushButton && (option->state & State_HasFocus)) {
            const QPalette& palette = option->palette;
            drawRing(painter, option->rect.adjusted(1, 1, -1, -1),
                firstContrasting(
                    { palette.color(QPalette::Highlight), palette.color(QPalette::ButtonText) },
                    { palette.color(QPalette::Button) }),
                FocusWidth);
        }
    }

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
        // A list's frame is as wide as the focus indicator, so that its contents do not cover it.
        if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractItemView*>(widget))
            return FocusWidth;
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (widget && (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight))
            return static_cast<int>(std::lround(size * windowZoom(widget)));
        return size;
    }
};

} // namespace

double contrastRatio(const QColor& first, const QColor& second)
{
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor focusColour(const QPalette& palette)
{
    return firstContrasting(
        { palette.color(QPalette::Highlight), palette.color(QPalette::WindowText) },
        { palette.color(QPalette::Window), palette.color(QPalette::Base) });
}

QStyle* makeApplicationStyle()
{
    return new ApplicationStyle;
}

} // namespace pendro
