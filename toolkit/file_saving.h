// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// How a file that the user asked for is saved. The desktop asks for a place with the platform's
// save dialog and writes the file there; the browser has no places to write to and hands the
// file to the browser as a download.
namespace pendro {

// Writes bytes to path: into a file beside it first, then renamed into place, so that a file
// that is there already is replaced whole or not at all. What went wrong, in German, or an empty
// text.
QString writeFileReplacing(const QString& path, const QByteArray& bytes);

// Whether this build saves by download (the browser) instead of asking for a place.
bool savesByDownload();

// The browser's download of content, named fileName.
void offerDownload(const QByteArray& content, const QString& fileName);

// The platform's save dialog, opening at suggestedPath; the chosen path (with suffix added where
// the name has none, before the dialog asks whether to replace a file), or an empty text when the
// user cancelled.
QString askSavePath(QWidget* parent, const QString& caption, const QString& suggestedPath,
    const QString& filter, const QString& suffix);

// Opens a saved file in the desktop's program for it (a PDF in the PDF viewer).
void openWithDesktop(const QString& path);

} // namespace pendro
