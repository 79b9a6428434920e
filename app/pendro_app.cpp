#include "app/pendro_app.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "toolkit/controls.h"
#include "toolkit/fonts.h"

namespace pendro {

void configureApplication(QApplication& application)
{
    installFontSubstitutions();
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Qt's own dialogs and shortcuts in German; without the file they stay English.
    auto* translator = new QTranslator(&application);
    if (translator->load(
            QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QApplication::setWindowIcon(pendroIcon());
}

PendroApplication::PendroApplication(QObject* parent)
    : QObject(parent)
    , m_main(new frmPendro)
{
    connect(m_main, &frmPendro::helpRequested, this, &PendroApplication::showHelp);
    connect(m_main, &frmPendro::trainerRequested, this, &PendroApplication::showTrainer);
    connect(m_main, &frmPendro::closingAll, this, &PendroApplication::closeAll);
    m_main->show();
}

PendroApplication::~PendroApplication()
{
    delete m_help;
    delete m_main;
}

void PendroApplication::showHelp()
{
    if (!m_help)
        m_help = new frmHelp;
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void PendroApplication::showTrainer(TrainerKind kind)
{
    // The trainer windows come next; each kind will get one window here, like the help window.
    Q_UNUSED(kind);
}

void PendroApplication::closeAll()
{
    // Every window except the main one first; the main window is usually closing already.
    const QList<QPointer<QWidget>> others { m_help.data() };
    for (const QPointer<QWidget>& window : others) {
        if (window)
            window->close();
    }
    if (m_main)
        m_main->close();
}

} // namespace pendro
