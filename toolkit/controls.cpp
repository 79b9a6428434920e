// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/controls.h"

#include <QAbstractButton>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>

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
    // Decoded once and shared by all five windows. A QIcon made from the file name would ask
    // every image-format plugin (and so load gif, ico, jpeg and libjpeg) whether it reads the
    // file; the reader told that it is a PNG uses Qt's own decoder and loads no plugin.
    const QString key = QStringLiteral("pendro/window-icon");
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        QImageReader reader(QStringLiteral(":/pendro/pendro.png"), "png");
        reader.setAutoDetectImageFormat(false);
        pixmap = QPixmap::fromImage(reader.read());
        QPixmapCache::insert(key, pixmap);
    }
    return QIcon(pixmap);
}

} // namespace pendro
