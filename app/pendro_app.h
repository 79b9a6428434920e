// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QObject>
#include <QPointer>

#include "app/trainer_kinds.h"
#include "core/random_generator.h"
#include "mainwin/frm_help.h"
#include "mainwin/frm_pendro.h"
#include "trainer/trainer_counters.h"
#include "trainer/trainer_frame.h"

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
    void showTrainer(pendro::TrainerKind kind);
    // The open trainer window of a kind, or nullptr.
    TrainerFrame* trainerWindow(TrainerKind kind) const;
    // The counters of a trainer kind live as long as the program, not as long as its window.
    TrainerCounters& counters(TrainerKind kind);
    void closeAll();

private:
    RandomGenerator m_random;
    std::array<TrainerCounters, TrainerKinds.size()> m_counters {};
    QPointer<frmPendro> m_main;
    QPointer<frmHelp> m_help;
    std::array<QPointer<TrainerFrame>, TrainerKinds.size()> m_trainers {};
};

} // namespace pendro
