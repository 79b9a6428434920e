// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/frm_help.h"

#include <QFontMetricsF>
#include <QLabel>

#include "mainwin/help_text.h"
#include "toolkit/controls.h"
#include "toolkit/keyboard.h"

namespace pendro {

namespace {

constexpr double ClientWidth = 7515;
constexpr double ClientHeight = 8925;
constexpr TwipsRect TextRect { 60, 60, 7395, 8835 };
constexpr FontSpec TextFont { "Courier New", 9, false };
constexpr double SmallestPoints = 6;
constexpr double PointStep = 0.25;

// Courier New at 9 pt is 12 px at 96 dpi and advances 7.2 px per character unhinted, so 70
// characters would overhang the 493-px label. Full hinting rounds the advance to 7 px (490
// px a line). Where that is still too wide (another monospace font, a higher dpi, a zoom whose
// size hints to a wider advance), step the size down until a full line fits.
QFont fitColumns(QFont font, int columns, double width, double zoom)
{
    font.setStyleHint(QFont::TypeWriter);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPointSizeF(font.pointSizeF() * zoom);
    const QString line(columns, QLatin1Char('M'));
    const double step = PointStep * zoom;
    while (QFontMetricsF(font).horizontalAdvance(line) > width
        && font.pointSizeF() - step >= SmallestPoints * zoom)
        font.setPointSizeF(font.pointSizeF() - step);
    return font;
}

} // namespace

frmHelp::frmHelp(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Pendro - Erläuterung"));
    setWindowIcon(pendroIcon());
    setScalableFont(this, makeFont(DefaultFont));
    setClientSizeTwips(this, ClientWidth, ClientHeight);

    // The label's font is fitted to its width rather than scaled (see zoomApplied).
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    setTwipsGeometry(m_label, TextRect);
    m_label->setFont(
        fitColumns(makeFont(TextFont), HelpColumns, m_label->width(), windowZoom(this)));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setText(helpText());
    closeOnKeys(this, { QKeySequence::Close, QKeySequence::Cancel });
}

void frmHelp::zoomApplied(double factor)
{
    m_label->setFont(fitColumns(makeFont(TextFont), HelpColumns, m_label->width(), factor));
}

} // namespace pendro
