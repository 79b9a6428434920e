// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pendro_app.h"

#include <cmath>

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QScreen>
#include <QTranslator>

#include "toolkit/accessibility.h"
#include "toolkit/controls.h"
#include "toolkit/fonts.h"
#include "toolkit/style.h"

namespace pendro {

namespace {
// showNormal, not show: where a platform shows a window full-screen by default (Qt for
// WebAssembly does, which would hide every other window of the page), each window still stands
// at its own size, and a minimized window that is asked for comes back. Where showing a window
// activates it before its controls are visible (Qt for WebAssembly again), Qt passes the focus
// on from the control the window chose to the next one; the window's choice stands.
void showAsAWindow(QWidget* window)
{
    const QPointer<QWidget> chosen = window->focusWidget();
    window->showNormal();
    if (chosen && chosen->isVisible() && window->isActiveWindow()
        && QApplication::focusWidget() != chosen)
        chosen->setFocus(Qt::ActiveWindowFocusReason);
}
} // namespace

void configureApplication(QApplication& application)
{
    installFontSubstitutions();
    installAccessibility();
    // Menus and context menus in the windows' own font.
    QApplication::setFont(makeFont(DefaultFont));
    QApplication::setStyle(makeApplicationStyle());
    // Qt's own dialogs and shortcuts in German; without the file they stay English.
    auto* translator = new QTranslator(&application);
    if (translator->load(
            QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QApplication::setWindowIcon(pendroIcon());
}

PendroApplication::PendroApplication(QObject* parent)
    : PendroApplication(RandomGenerator(), parent)
{ }

PendroApplication::PendroApplication(RandomGenerator random, QObject* parent)
    : QObject(parent)
    , m_random(std::move(random))
    , m_main(new frmPendro)
{
    connect(m_main, &frmPendro::helpRequested, this, &PendroApplication::showHelp);
    connect(m_main, &frmPendro::trainerRequested, this, &PendroApplication::showTrainer);
    connect(m_main, &frmPendro::worksheetRequested, this, &PendroApplication::showWorksheetDialog);
    connect(m_main, &frmPendro::closingAll, this, &PendroApplication::closeAll);
    connect(m_main, &frmPendro::zoomRequested, this, &PendroApplication::changeZoom);
    for (const TrainerKindEntry& entry : TrainerKinds)
        m_main->addTrainerEntry(entry.data.kind, entry.menuActionName, entry.menuCaption);
    showAsAWindow(m_main);
}

PendroApplication::~PendroApplication()
{
    for (const QPointer<TrainerFrame>& trainer : m_trainers)
        delete trainer.data();
    delete m_help;
    delete m_worksheet;
    delete m_main;
}

void PendroApplication::showHelp()
{
    if (!m_help) {
        m_help = new frmHelp;
        openAtCurrentZoom(m_help);
    }
    showAsAWindow(m_help);
    m_help->raise();
    m_help->activateWindow();
}

void PendroApplication::showWorksheetDialog()
{
    if (!m_worksheet) {
        m_worksheet = new WorksheetDialog;
        openAtCurrentZoom(m_worksheet);
    }
    showAsAWindow(m_worksheet);
    m_worksheet->raise();
    m_worksheet->activateWindow();
}

TrainerCounters& PendroApplication::counters(TrainerKind kind)
{
    return m_counters[static_cast<std::size_t>(kind)];
}

TrainerFrame* PendroApplication::trainerWindow(TrainerKind kind) const
{
    return m_trainers[static_cast<std::size_t>(kind)];
}

void PendroApplication::showTrainer(TrainerKind kind)
{
    QPointer<TrainerFrame>& window = m_trainers[static_cast<std::size_t>(kind)];
    if (!window) {
        window = trainerKindEntry(kind).create(counters(kind), m_random, *m_main);
        openAtCurrentZoom(window);
    }
    showAsAWindow(window);
    window->raise();
    window->activateWindow();
}

QList<QWidget*> PendroApplication::openWindows() const
{
    QList<QWidget*> windows;
    // A closed trainer or help window may wait for its deletion a little: it counts no more.
    const auto addShown = [&windows](QWidget* window) {
        if (window && window->isVisible())
            windows.append(window);
    };
    addShown(m_main);
    addShown(m_help);
    addShown(m_worksheet);
    for (const QPointer<TrainerFrame>& trainer : m_trainers)
        addShown(trainer);
    return windows;
}

std::vector<WindowRoom> PendroApplication::rooms(const QList<QWidget*>& windows) const
{
    // A window not shown yet has no frame from the desktop: it will get what the main window has.
    const QSize mainFrame
        = m_main && m_main->isVisible() ? m_main->frameGeometry().size() - m_main->size() : QSize();
    std::vector<WindowRoom> rooms;
    for (const QWidget* window : windows) {
        const double zoom = windowZoom(window);
        const QSize atHundred(static_cast<int>(std::ceil(window->width() / zoom)),
            static_cast<int>(std::ceil(window->height() / zoom)));
        const QSize frame
            = window->isVisible() ? window->frameGeometry().size() - window->size() : mainFrame;
        rooms.push_back({ atHundred, frame, window->screen()->availableGeometry().size() });
    }
    return rooms;
}

void PendroApplication::changeZoom(ZoomChange change)
{
    const QList<QWidget*> windows = openWindows();
    if (!m_zoom.change(change, rooms(windows)))
        return;
    for (QWidget* window : windows)
        applyZoom(window, m_zoom.factor());
}

void PendroApplication::zoomToLargestFit()
{
    const QList<QWidget*> windows = openWindows();
    bool changed = false;
    while (m_zoom.change(ZoomChange::In, rooms(windows)))
        changed = true;
    if (changed) {
        for (QWidget* window : windows)
            applyZoom(window, m_zoom.factor());
    }
}

void PendroApplication::openAtCurrentZoom(QWidget* window)
{
    const QList<QWidget*> open = openWindows();
    if (m_zoom.stepDownToFit(rooms(open + QList<QWidget*> { window }))) {
        for (QWidget* other : open)
            applyZoom(other, m_zoom.factor());
    }
    if (m_zoom.step() > 0)
        applyZoom(window, m_zoom.factor());
}

void PendroApplication::closeAll()
{
    // Every window except the main one first; the main window is usually closing already.
    QList<QPointer<QWidget>> others { m_help.data(), m_worksheet.data() };
    for (const QPointer<TrainerFrame>& trainer : m_trainers)
        others.append(trainer.data());
    for (const QPointer<QWidget>& window : others) {
        if (window)
            window->close();
    }
    if (m_main)
        m_main->close();
}

} // namespace pendro
