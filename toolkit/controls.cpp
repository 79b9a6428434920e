// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/controls.h"

#include <QAbstractButton>
#include <QIcon>
#include <QLabel>
#include <QPalette>

// The icon lives in this static library's resources, whose initializer is linked only when
// something refers to it. Q_INIT_RESOURCE has to be called from the global namespace.
static void registerToolkitResources()
{
    Q_INIT_RESOURCE(pendro);
}

namespace pendro {

QString arrayName(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

void placeControl(QWidget* control, const QString& name, const TwipsRect& rect,
    const FontSpec& font, const QString& toolTip)
{
    control->setObjectName(name);
    control->setFont(makeFont(font));
    setTwipsGeometry(control, rect);
    if (!toolTip.isEmpty())
        control->setToolTip(toolTip);
}

void setButtonColour(QAbstractButton* button, const QColor& colour)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
}

void makeCreditLabel(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(128, 128, 128));
    label->setPalette(palette);
}

QIcon pendroIcon()
{
    static const bool registered = (registerToolkitResources(), true);
    static_cast<void>(registered);
    return QIcon(QStringLiteral(":/pendro/pendro.png"));
}

} // namespace pendro
