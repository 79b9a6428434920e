// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QObject>
#include <QPointer>

#include "app/trainer_kinds.h"
#include "core/random_generator.h"
#include "mainwin/frm_help.h"
#include "mainwin/frm_pendro.h"
#include "toolkit/zoom.h"
#include "trainer/trainer_counters.h"
#include "trainer/trainer_frame.h"
#include "worksheet/worksheet_dialog.h"

class QApplication;

namespace pendro {

// What the program sets up on the QApplication before the first window: font fallbacks, the
// Fusion style, Qt's German texts (when installed) and the window icon.
void configureApplication(QApplication& application);

// Owns the windows of one run of the program.
//
// It creates and shows the main window at once and every other window on demand, at most one
// of each; a window the user has closed is created afresh on the next request. The main
// window's menu reaches this object through signals only. When the main window is closed, or
// "Beenden" is chosen, every other window is closed and then the main window itself.
//
// It holds the zoom of all windows: a change asked for by the main window's menu (or its keys,
// which work in every window) applies to every open window at once, and a window opened later
// opens at the current zoom. Where that window would not fit its screen, the zoom of all windows
// steps down until it does. Every run starts at 100 %; in a browser page, where a finger needs
// larger targets than a mouse, main() then zooms to the largest step that fits the page.
class PendroApplication : public QObject
{
    Q_OBJECT

public:
    explicit PendroApplication(QObject* parent = nullptr);
    // Tests hand in a generator with a deterministic clock and state.
    explicit PendroApplication(RandomGenerator random, QObject* parent = nullptr);
    ~PendroApplication() override;

    frmPendro* mainWindow() const { return m_main; }
    // The open help window, or nullptr.
    frmHelp* helpWindow() const { return m_help; }

    void showHelp();
    void showWorksheetDialog();
    // The open worksheet dialog, or nullptr.
    WorksheetDialog* worksheetDialog() const { return m_worksheet; }
    void showTrainer(pendro::TrainerKind kind);
    // The open trainer window of a kind, or nullptr.
    TrainerFrame* trainerWindow(TrainerKind kind) const;
    // The counters of a trainer kind live as long as the program, not as long as its window.
    TrainerCounters& counters(TrainerKind kind);
    void closeAll();
    void changeZoom(pendro::ZoomChange change);
    // Steps the zoom up as far as every open window still fits its screen.
    void zoomToLargestFit();
    int zoomPercent() const { return m_zoom.percent(); }

private:
    // A window just built at 100 %, before it is shown: the zoom of all windows steps down if it
    // would not fit at the current one, then the window takes the zoom.
    void openAtCurrentZoom(QWidget* window);
    // The main window, the help window and the trainers, where shown.
    QList<QWidget*> openWindows() const;
    std::vector<WindowRoom> rooms(const QList<QWidget*>& windows) const;

    RandomGenerator m_random;
    std::array<TrainerCounters, TrainerKinds.size()> m_counters {};
    QPointer<frmPendro> m_main;
    QPointer<frmHelp> m_help;
    QPointer<WorksheetDialog> m_worksheet;
    std::array<QPointer<TrainerFrame>, TrainerKinds.size()> m_trainers {};
    ZoomControl m_zoom;
};

} // namespace pendro
