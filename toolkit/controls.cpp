// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/controls.h"

#include <QAbstractButton>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QResource>

#include "toolkit/zoom.h"

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
    setScalableFont(control, makeFont(font));
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
    // The picture is kept as plain RGBA bytes in the program itself: a QIcon made from an image
    // file would have Qt ask every image-format plugin (and so load gif, ico, jpeg and libjpeg)
    // whether it reads the file, and even a named PNG decoder scans the plugin folder first.
    // Converted once and shared by all five windows through Qt's pixmap cache.
    const QString key = QStringLiteral("pendro/window-icon");
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        const QResource pixels(QStringLiteral(":/pendro/pendro-133.rgba"));
        constexpr int Side = 133;
        if (pixels.compressionAlgorithm() == QResource::NoCompression
            && pixels.size() == Side * Side * 4) {
            const QImage image(reinterpret_cast<const uchar*>(pixels.data()), Side, Side, Side * 4,
                QImage::Format_RGBA8888);
            // ARGB32, as Qt's PNG decoder hands the picture to a pixmap.
            pixmap = QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32));
            QPixmapCache::insert(key, pixmap);
        }
    }
    return QIcon(pixmap);
}

} // namespace pendro
