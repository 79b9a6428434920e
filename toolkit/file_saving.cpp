// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/file_saving.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QSaveFile>
#include <QUrl>

#ifdef Q_OS_WASM
#include <cstddef>
#include <string>

#include <emscripten/val.h>
#endif

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
    // A hidden link to a copy of the bytes, clicked: the browser's own download, which every
    // browser offers. (QFileDialog::saveFileContent does nothing in a browser that has the file
    // system access API, as Chromium has.) The link's address is given back a minute later, when
    // the browser has long taken the bytes.
    using emscripten::val;
    const val view(emscripten::typed_memory_view(static_cast<std::size_t>(content.size()),
        reinterpret_cast<const unsigned char*>(content.constData())));
    val parts = val::array();
    parts.call<void>("push", val::global("Uint8Array").new_(view));
    val options = val::object();
    options.set("type", std::string("application/pdf"));
    const val url = val::global("URL").call<val>(
        "createObjectURL", val::global("Blob").new_(parts, options));
    val document = val::global("document");
    val link = document.call<val>("createElement", std::string("a"));
    link.set("href", url);
    link.set("download", fileName.toStdString());
    link["style"].set("display", std::string("none"));
    document["body"].call<void>("appendChild", link);
    link.call<void>("click");
    link.call<void>("remove");
    const val revoke = val::global("URL")["revokeObjectURL"];
    val::global("setTimeout")(revoke.call<val>("bind", val::global("URL"), url), 60000);
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
