// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QMainWindow>
#include <QString>

#include "core/factorization.h"
#include "toolkit/zoom.h"

class QLabel;
class QListView;
class QMenu;
class QPushButton;

namespace pendro {

class TextBox;
// The fraction trainers are the application's business; the menu only passes their kind on.
enum class TrainerKind : int;

// The start-up window: eight number fields, their factor fields, the ggT and kgV labels and the
// list of the primes up to 131072.
//
// The fields are the only state. "Start" copies the texts of txtZ1, txtPF1, lblGGT and lblKGV
// into a WorkArea, lets the core's factorization run work on that copy and writes every text
// back; "C" empties the fields. The trainers use the same fields as their calculator: they write
// numbers with setNumberText, call HNBerechnen (the strict run) and read kgvCaption and
// ggtCaption, then empty everything with ClearMainFields.
//
// The window opens no other window itself: the menu only emits trainerRequested,
// worksheetRequested ("Arbeitsblatt erstellen…", also Ctrl+P from any window) and helpRequested,
// and "Beenden" or closing the window emits closingAll, so that the application object, which owns
// all windows, can show or close them. The application also gives the menu its trainer entries
// (addTrainerEntry). The menu "Ansicht" asks for a zoom of all windows (zoomRequested); its
// shortcuts, Ctrl+Plus, Ctrl+Minus and Ctrl+0, work in every window.
class frmPendro : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmPendro(QWidget* parent = nullptr);

    // The factorization run over the fields with every number above 131072 rejected.
    void HNBerechnen();
    // Empties txtZ1(i) then txtPF1(i) for i = 0..7, then lblKGV, then lblGGT.
    void ClearMainFields();

    QString numberText(int index) const;
    void setNumberText(int index, const QString& text);
    QString kgvCaption() const;
    QString ggtCaption() const;

    // An entry of the menu "Trainer Bruchrechnung" that asks for a trainer of that kind, in front
    // of the worksheet entry.
    void addTrainerEntry(TrainerKind kind, const char* actionName, const char* caption);

signals:
    void trainerRequested(pendro::TrainerKind kind);
    void worksheetRequested();
    void helpRequested();
    void zoomRequested(pendro::ZoomChange change);
    // Every window of the program should close now.
    void closingAll();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildMenu();
    void btStart_Click();
    void btC_Click();
    void Beenden_Click();
    void runOverFields(FactorizationMode mode);
    // Empties every number and factor field, then the result labels in the order given.
    void emptyFields(QLabel* firstResult, QLabel* secondResult);

    std::array<TextBox*, NumberFieldCount> m_txtZ1 {};
    std::array<TextBox*, NumberFieldCount> m_txtPF1 {};
    QLabel* m_lblKGV = nullptr;
    QLabel* m_lblGGT = nullptr;
    QLabel* m_lblAnz = nullptr;
    QListView* m_list1 = nullptr;
    QPushButton* m_btStart = nullptr;
    QPushButton* m_btC = nullptr;
    QMenu* m_trainerMenu = nullptr;
    QAction* m_trainerEntriesEnd = nullptr; // the separator in front of the worksheet entry
};

} // namespace pendro
