// SPDX-License-Identifier: GPL-3.0-or-later
#include <map>
#include <string>

#include <QFontInfo>
#include <QtTest>

#include "toolkit/desktop_check.h"
#include "toolkit/fonts.h"

using namespace pendro;

Q_DECLARE_METATYPE(pendro::DesktopKind)

// What differs between the platforms Pendro runs on: whether a display server must be named
// before the first window, and which fonts need a stand-in.
class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void theDesktopCheckAsksForADisplayServerOnlyWhereOneIsNeeded_data()
    {
        QTest::addColumn<DesktopKind>("kind");
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<bool>("starts");

        QTest::newRow("linux, nothing set")
            << DesktopKind::DisplayServer << QStringList {} << false;
        QTest::newRow("linux, empty DISPLAY")
            << DesktopKind::DisplayServer << QStringList { "DISPLAY=" } << false;
        QTest::newRow("linux, X11")
            << DesktopKind::DisplayServer << QStringList { "DISPLAY=:0" } << true;
        QTest::newRow("linux, Wayland")
            << DesktopKind::DisplayServer << QStringList { "WAYLAND_DISPLAY=wayland-0" } << true;
        QTest::newRow("linux, chosen platform")
            << DesktopKind::DisplayServer << QStringList { "QT_QPA_PLATFORM=offscreen" } << true;
        QTest::newRow("linux, unrelated variables")
            << DesktopKind::DisplayServer
            << QStringList { "HOME=/home/pupil", "XDG_SESSION_TYPE=x11" } << false;
        // Windows has no DISPLAY, and Wine hands one over that means nothing there.
        QTest::newRow("windows, nothing set") << DesktopKind::Native << QStringList {} << true;
        QTest::newRow("windows, DISPLAY from wine")
            << DesktopKind::Native << QStringList { "DISPLAY=:0" } << true;
        // A page has no environment variables; emscripten makes up a few, none of them DISPLAY.
        QTest::newRow("browser, nothing set") << DesktopKind::Browser << QStringList {} << true;
        QTest::newRow("browser, emscripten's environment")
            << DesktopKind::Browser << QStringList { "USER=web_user", "HOME=/home/web_user" }
            << true;
    }

    void theDesktopCheckAsksForADisplayServerOnlyWhereOneIsNeeded()
    {
        QFETCH(DesktopKind, kind);
        QFETCH(QStringList, variables);
        QFETCH(bool, starts);

        std::map<std::string, std::string> environment;
        for (const QString& variable : variables) {
            const qsizetype equals = variable.indexOf(QLatin1Char('='));
            environment[variable.left(equals).toStdString()]
                = variable.mid(equals + 1).toStdString();
        }
        const std::string message = missingDesktopMessage(kind, [&](const char* name) {
            const auto found = environment.find(name);
            return found == environment.end() ? std::string() : found->second;
        });
        QCOMPARE(message.empty(), starts);
        if (!starts) {
            QVERIFY(message.find("grafische Arbeitsumgebung") != std::string::npos);
            QVERIFY(message.find("xvfb-run") != std::string::npos);
        }
    }

    void thisBuildKnowsItsDesktop()
    {
#if defined(Q_OS_WIN)
        QCOMPARE(hostDesktopKind(), DesktopKind::Native);
#elif defined(Q_OS_WASM)
        QCOMPARE(hostDesktopKind(), DesktopKind::Browser);
#else
        QCOMPARE(hostDesktopKind(), DesktopKind::DisplayServer);
#endif
    }

    void onlyMissingFontsGetAStandIn_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("standIns");

        QTest::newRow("linux without the classic fonts")
            << QStringList { "Liberation Sans", "Liberation Mono" }
            << QStringList { "Arial>Liberation Sans,Pendro Sans",
                   "Courier New>Liberation Mono,Pendro Mono" };
        QTest::newRow("windows") << QStringList { "Arial", "Courier New" } << QStringList {};
        QTest::newRow("only Arial")
            << QStringList { "Arial" } << QStringList { "Courier New>Liberation Mono,Pendro Mono" };
        // A page has no fonts of its own but those the browser build carries.
        QTest::newRow("browser") << QStringList { "Pendro Sans", "Pendro Mono" }
                                 << QStringList { "Arial>Liberation Sans,Pendro Sans",
                                        "Courier New>Liberation Mono,Pendro Mono" };
    }

    void onlyMissingFontsGetAStandIn()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, standIns);

        QStringList found;
        for (const auto& [family, standIn] :
            missingFontStandIns([&](const QString& family) { return installed.contains(family); }))
            found.append(family + QLatin1Char('>') + standIn.join(QLatin1Char(',')));
        QCOMPARE(found, standIns);
    }

    // Whatever this machine has, the windows' fonts resolve to Arial and Courier New or to
    // their metric-compatible stand-ins, never to an unrelated default.
    void theWindowFontsResolveToTheirFamilyOrItsStandIn_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("standIns");
        QTest::newRow("Arial") << "Arial" << QStringList { "Liberation Sans", "Pendro Sans" };
        QTest::newRow("Courier New")
            << "Courier New" << QStringList { "Liberation Mono", "Pendro Mono" };
    }

    void theWindowFontsResolveToTheirFamilyOrItsStandIn()
    {
        QFETCH(QString, family);
        QFETCH(QStringList, standIns);

        installFontSubstitutions();
        const QString resolved = QFontInfo(QFont(family)).family();
        QVERIFY2(resolved == family || standIns.contains(resolved), qPrintable(resolved));
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
