// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/file_saving.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QSaveFile>
#include <QUrl>

namespace pendro {

QString writeFileReplacing(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
        .arg(path, file.errorString());
}

bool savesByDownload()
{
#ifdef Q_OS_WASM
    return true;
#else
    return false;
#endif
}

void offerDownload(const QByteArray& content, const QString& fileName)
{
#ifdef Q_OS_WASM
    QFileDialog::saveFileContent(content, fileName);
#else
    static_cast<void>(content);
    static_cast<void>(fileName);
#endif
}

QString askSavePath(QWidget* parent, const QString& caption, const QString& suggestedPath,
    const QString& filter, const QString& suffix)
{
    QFileDialog dialog(parent, caption, suggestedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void openWithDesktop(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace pendro
