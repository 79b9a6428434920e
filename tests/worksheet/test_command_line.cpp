// SPDX-License-Identifier: GPL-3.0-or-later
// The command line through the program itself, as a teacher's script runs it: a worksheet
// written without a window, its solution lines, and bad options refused without touching a file.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "worksheet/worksheet_content.h"

using namespace pendro;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString error;
};

// Pendro from the build tree, with no display of any kind.
Outcome runPendro(const QStringList& arguments)
{
    QString program
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../app/pendro"));
#ifdef Q_OS_WIN
    program += QStringLiteral(".exe");
#endif
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        qFatal("pendro %s did not end", qPrintable(arguments.join(QLatin1Char(' '))));
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

// A file that is there before Pendro runs.
QString writtenFile(const QTemporaryDir& folder, const QByteArray& bytes)
{
    const QString path = folder.filePath(QStringLiteral("blatt.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("%s cannot be written", qPrintable(path));
    return path;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    // The sheet's lines on standard output, the PDF in place of an older file, nothing else in
    // the folder; the same number the same sheet.
    void writesTheSheetAndItsSolutionLines()
    {
        QTemporaryDir folder;
        const QString path = writtenFile(folder, "an older sheet");
        const QStringList arguments { QStringLiteral("--worksheet"), QStringLiteral("div"),
            QStringLiteral("--terms"), QStringLiteral("3"), QStringLiteral("--count"),
            QStringLiteral("30"), QStringLiteral("--number"), QStringLiteral("4711"),
            QStringLiteral("--negative"), QStringLiteral("--output"), path,
            QStringLiteral("--solutions-text") };

        const Outcome first = runPendro(arguments);
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.error, QString());
        QVERIFY(contents(path).startsWith("%PDF-"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "blatt.pdf" });

        QStringList expected;
        for (const std::string& line :
            solutionLines(worksheetExercises({ WorksheetKind::Div, 3, true, 100, 30, 4711, true })))
            expected << QString::fromStdString(line);
        // Lines end as text lines do on the platform: "\r\n" on Windows.
        QCOMPARE(first.out.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts),
            expected);
        QVERIFY(expected.first().startsWith(QStringLiteral("1. ")));
        QCOMPARE(runPendro(arguments).out, first.out);
    }

    void helpListsTheOptions()
    {
        const Outcome help = runPendro({ QStringLiteral("--help") });
        QCOMPARE(help.exitCode, 0);
        for (const char* option :
            { "--worksheet ART", "--terms N", "--count K", "--number S", "--negative", "--range R",
                "--no-solutions", "--output DATEI.pdf", "--solutions-text", "Aufruf: pendro" })
            QVERIFY2(help.out.contains(QString::fromLatin1(option)), option);
    }

    // Exit code 2, a German message, and the file that was there stays as it was.
    void badOptionsWriteNothing_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "OUT" stands for the output file
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, const char* arguments, const char* message) {
            QTest::newRow(tag) << QString::fromLatin1(arguments).split(QLatin1Char(' '))
                               << QString::fromUtf8(message);
        };
        row("unknown kind", "--worksheet quiz --output OUT", "Unbekannte Aufgabenart „quiz“");
        row("no kind", "--count 3 --output OUT", "Es fehlt --worksheet");
        row("count 0", "--worksheet mul --count 0 --output OUT", "Anzahl der Aufgaben");
        row("count 31", "--worksheet mul --count 31 --output OUT", "Anzahl der Aufgaben");
        row("one term", "--worksheet addsub --terms 1 --output OUT", "Anzahl der Glieder");
        row("six terms", "--worksheet div --terms 6 --output OUT", "Anzahl der Glieder");
        row("four numbers for ggT", "--worksheet ggt --terms 4 --output OUT", "Anzahl der Glieder");
        row("terms for factor", "--worksheet factor --terms 3 --output OUT", "--terms gilt nicht");
        row("not a number", "--worksheet mul --number 12a --output OUT", "keine ganze Zahl");
        row("a fraction", "--worksheet mul --count 2,5 --output OUT", "keine ganze Zahl");
        row("sheet number 0", "--worksheet mul --number 0 --output OUT", "Blattnummer");
        row("sheet number too large", "--worksheet mul --number 1000000 --output OUT",
            "Blattnummer");
        row("sheet number beyond 32 bits", "--worksheet mul --number 99999999999 --output OUT",
            "keine ganze Zahl");
        row("range 500", "--worksheet factor --range 500 --output OUT", "Zahlenbereich");
        row("range for fractions", "--worksheet addsub --range 100 --output OUT",
            "--range gilt nur");
        row("negative sums", "--worksheet addsub --negative --output OUT", "--negative gilt nur");
        row("no output", "--worksheet mul", "Es fehlt --output");
        row("unknown option", "--worksheet mul --colour red --output OUT",
            "Unbekannte Option „--colour“");
        row("missing value", "--worksheet mul --output", "fehlt ihr Wert");
        row("stray word", "--worksheet mul extra --output OUT", "Unerwartete Angabe „extra“");
        row("folder missing", "--worksheet mul --output MISSING", "kann nicht geschrieben werden");
        row("output is a folder", "--worksheet mul --output FOLDER",
            "kann nicht geschrieben werden");
    }
    void badOptionsWriteNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString path = writtenFile(folder, "%PDF- a good sheet");
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder")));
        arguments.replaceInStrings(QStringLiteral("OUT"), path);
        arguments.replaceInStrings(
            QStringLiteral("MISSING"), folder.filePath(QStringLiteral("nowhere/blatt.pdf")));
        arguments.replaceInStrings(
            QStringLiteral("FOLDER"), folder.filePath(QStringLiteral("folder")));

        const Outcome outcome = runPendro(arguments);
        QCOMPARE(outcome.exitCode, 2);
        QVERIFY2(
            outcome.error.startsWith(QStringLiteral("pendro: ")) && outcome.error.contains(message),
            qPrintable(outcome.error));
        QCOMPARE(outcome.out, QString());
        QCOMPARE(contents(path), QByteArray("%PDF- a good sheet"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
            (QStringList { "blatt.pdf", "folder" }));
        QVERIFY(QDir(folder.filePath(QStringLiteral("folder"))).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
