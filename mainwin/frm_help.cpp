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
// px a line). Where that is still too wide (another monospace font, a higher dpi), step the
// size down until a full line fits.
QFont fitColumns(QFont font, int columns, double width)
{
    font.setHintingPreference(QFont::PreferFullHinting);
    const QString line(columns, QLatin1Char('M'));
    while (QFontMetricsF(font).horizontalAdvance(line) > width
        && font.pointSizeF() - PointStep >= SmallestPoints)
        font.setPointSizeF(font.pointSizeF() - PointStep);
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
    setClientSizeTwips(this, ClientWidth, ClientHeight);

    auto* label = new QLabel(this);
    placeControl(label, QStringLiteral("Label1"), TextRect, TextFont);
    QFont font = label->font();
    font.setStyleHint(QFont::TypeWriter);
    label->setFont(fitColumns(font, HelpColumns, label->width()));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(helpText());
    closeOnKeys(this, { QKeySequence::Close, QKeySequence::Cancel });
}

} // namespace pendro
