// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>
#include <QString>

#include "worksheet/worksheet_content.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace pendro {

class TextBox;

// "Arbeitsblatt erstellen": the settings of a worksheet and "Speichern …".
//
// The dialog is a window of its own beside the others (not modal), built from a table of
// controls in twips so that it zooms with them. Its controls are the settings: the kind, the
// number of terms (numbers for ggT and kgV), negative numerators (multiplication and division),
// the number range (factorization, ggT and kgV), the number of exercises, the sheet number (a new
// random one when the dialog opens; "Neue Nummer" draws another) and whether a solution sheet
// follows. Controls that a kind does not use are disabled. "Speichern …" makes the PDF and saves
// it: on the desktop it asks where with the platform's dialog, writes the file beside its place
// and renames it there, then offers to open it in the PDF viewer, from which a teacher prints
// it; in the browser the PDF becomes a download. What happened stands in the line above the
// buttons; nothing fails with a message box. Escape and Ctrl+W close the dialog.
class WorksheetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WorksheetDialog(QWidget* parent = nullptr);

    // The settings as the controls show them; sheetNumber is 0 where the field holds none.
    WorksheetSettings settings() const;

    // Where to save: a path, or an empty text when the user cancelled. The platform's save
    // dialog unless a test sets another.
    using PathChooser = std::function<QString(const QString& suggestedPath)>;
    void setPathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }
    // Whether to open the saved file now; the platform's question unless a test sets another.
    using OpenQuestion = std::function<bool(const QString& path)>;
    void setOpenQuestion(OpenQuestion question) { m_askToOpen = std::move(question); }
    // Opens the saved file; the desktop's PDF viewer unless a test sets another.
    using Opener = std::function<void(const QString& path)>;
    void setOpener(Opener opener) { m_open = std::move(opener); }

    QComboBox* cbAufgabenart = nullptr;
    QComboBox* cbAG = nullptr;
    QCheckBox* cbMinus = nullptr;
    QComboBox* cbZahlenbereich = nullptr;
    QSpinBox* spAnzahl = nullptr;
    TextBox* txtBlattnummer = nullptr;
    QPushButton* cbNeueNummer = nullptr;
    QCheckBox* cbLoesungsblatt = nullptr;
    QLabel* lblHinweis = nullptr;
    QPushButton* cbSpeichern = nullptr;
    QPushButton* cbSchliessen = nullptr;

private:
    void buildControls();
    void cbAufgabenart_Change();
    void cbNeueNummer_Click();
    void cbSpeichern_Click();
    QString suggestedFileName(const WorksheetSettings& settings) const;

    PathChooser m_choosePath;
    OpenQuestion m_askToOpen;
    Opener m_open;
};

} // namespace pendro
