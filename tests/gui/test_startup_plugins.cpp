// SPDX-License-Identifier: GPL-3.0-or-later
// Pendro starts without loading any Qt plugin beyond the platform: no image-format plugins (and
// with them libjpeg), no icon engines, no styles. Qt reports every library it loads on its
// "qt.core.library" logging category; this test listens there while the windows start and open.
// It runs in a process of its own, since a plugin stays loaded once any test has loaded it.

#include <memory>

#include <QApplication>
#include <QColorSpace>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>
#include <QPixmap>
#include <QStringList>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include "app/pendro_app.h"
#include "gui_fixture.h"

namespace {

QStringList g_loadedLibraries;
QtMessageHandler g_nextHandler = nullptr;

void recordLoadedLibraries(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (context.category && QLatin1String(context.category) == QLatin1String("qt.core.library")) {
        if (text.endsWith(QLatin1String("loaded library"))) {
            g_loadedLibraries.append(text.section(QLatin1Char('"'), 1, 1));
        }
        return;
    }
    if (g_nextHandler)
        g_nextHandler(type, context, text);
}

// Plugins that any Qt program on this desktop needs: the platform itself, its desktop theme
// and input methods.
QStringList unexpectedPlugins()
{
    static const QStringList allowedFolders { QStringLiteral("platforms"),
        QStringLiteral("platformthemes"), QStringLiteral("platforminputcontexts") };
    QStringList unexpected;
    for (const QString& path : g_loadedLibraries) {
        const QString folder = QFileInfo(path).dir().dirName();
        if (!allowedFolders.contains(folder))
            unexpected.append(path);
    }
    return unexpected;
}

} // namespace

class StartupPluginsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        g_nextHandler = qInstallMessageHandler(recordLoadedLibraries);
        pendro::testing::prepareApplication();
    }

    void startUpLoadsNoPluginBeyondThePlatform()
    {
        m_pendro = std::make_unique<pendro::PendroApplication>();
        QVERIFY(QTest::qWaitForWindowExposed(m_pendro->mainWindow()));
        QApplication::processEvents();
        const QStringList unexpected = unexpectedPlugins();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1String(", "))));
    }

    void openingEveryWindowLoadsNoPlugin()
    {
        for (const auto kind :
            { pendro::TrainerKind::AddSub, pendro::TrainerKind::Mul, pendro::TrainerKind::Div }) {
            m_pendro->showTrainer(kind);
            QVERIFY(QTest::qWaitForWindowExposed(m_pendro->trainerWindow(kind)));
        }
        m_pendro->showHelp();
        QVERIFY(QTest::qWaitForWindowExposed(m_pendro->helpWindow()));
        QApplication::processEvents();
        const QStringList unexpected = unexpectedPlugins();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1String(", "))));
    }

    // What follows decodes images the usual way and may load plugins; it runs last.

    // The icon's pixels are kept beside pendro.png as plain bytes; they must show the same.
    void windowIconIsStillThePicture()
    {
        const QIcon icon = m_pendro->mainWindow()->windowIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize> { QSize(133, 133) });
        QImage expected = QImage(QStringLiteral(PENDRO_ICON_PNG))
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!expected.isNull());
        // The PNG's gamma chunk only labels the picture; Qt draws the same pixels without it.
        expected.setColorSpace(QColorSpace());
        if (icon.pixmap(QSize(133, 133))
                .toImage()
                .convertToFormat(QImage::Format_ARGB32_Premultiplied)
            != expected)
            QFAIL("resources/pendro-133.rgba is not resources/pendro.png; run "
                  "scripts/icon_pixels.py resources/pendro.png resources/pendro-133.rgba");
    }

    // The menu bar's overflow icon is fetched only when drawn, and then it is Fusion's own.
    void menuBarOverflowIconIsFusions_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("horizontal") << int(QStyle::SP_ToolBarHorizontalExtensionButton);
        QTest::newRow("vertical") << int(QStyle::SP_ToolBarVerticalExtensionButton);
    }

    void menuBarOverflowIconIsFusions()
    {
        QFETCH(int, which);
        const auto pixmap = static_cast<QStyle::StandardPixmap>(which);
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        const QIcon expected = fusion->standardIcon(pixmap);
        const QIcon deferred = QApplication::style()->standardIcon(pixmap);
        QVERIFY(!deferred.isNull());
        QCOMPARE(deferred.availableSizes(), expected.availableSizes());
        QCOMPARE(deferred.actualSize(QSize(32, 32)), expected.actualSize(QSize(32, 32)));
        QCOMPARE(
            deferred.pixmap(QSize(16, 16)).toImage(), expected.pixmap(QSize(16, 16)).toImage());
    }

    void cleanupTestCase() { m_pendro.reset(); }

private:
    std::unique_ptr<pendro::PendroApplication> m_pendro;
};

int main(int argc, char* argv[])
{
    // Before the application exists, so that loading the platform plugin is reported as well.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.library.debug=true"));
    g_nextHandler = qInstallMessageHandler(recordLoadedLibraries);
    QApplication application(argc, argv);
    StartupPluginsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_startup_plugins.moc"
