// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheets: their exercises are the trainers' own for the same generator state, their solutions
// are what the trainers judge right, the PDF holds every exercise and solution inside its margins
// with its fonts embedded, the command line writes it or refuses bad options, and the dialog is
// driven by keys.
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "core/solutions.h"
#include "tests/gui/gui_fixture.h"
#include "worksheet/worksheet_content.h"
#include "worksheet/worksheet_dialog.h"
#include "worksheet/worksheet_pdf.h"

using namespace pendro;
using namespace pendro::testing;

Q_DECLARE_METATYPE(pendro::WorksheetSettings)
Q_DECLARE_METATYPE(pendro::TrainerKind)

namespace {

WorksheetSettings sheet(WorksheetKind kind, int terms, int count, std::uint32_t number,
    bool negative = false, int range = 100)
{
    WorksheetSettings settings;
    settings.kind = kind;
    settings.terms = terms;
    settings.count = count;
    settings.sheetNumber = number;
    settings.negativeNumerators = negative;
    settings.range = range;
    return settings;
}

// The widest sheets of each kind: five terms (three numbers) and thirty exercises.
void addFullSheetRows()
{
    QTest::addColumn<WorksheetSettings>("settings");
    QTest::newRow("addsub 5") << sheet(WorksheetKind::AddSub, 5, 30, 314159);
    QTest::newRow("addsub 2") << sheet(WorksheetKind::AddSub, 2, 30, 2);
    QTest::newRow("mul 5 negative") << sheet(WorksheetKind::Mul, 5, 30, 999999, true);
    QTest::newRow("div 5 negative") << sheet(WorksheetKind::Div, 5, 30, 4711, true);
    QTest::newRow("div 3") << sheet(WorksheetKind::Div, 3, 30, 1);
    QTest::newRow("factor 10000") << sheet(WorksheetKind::Factor, 2, 30, 77, false, 10000);
    QTest::newRow("ggt 3 10000") << sheet(WorksheetKind::Ggt, 3, 30, 123456, false, 10000);
    QTest::newRow("ggt 2 100") << sheet(WorksheetKind::Ggt, 2, 30, 8);
}

// A tool of poppler-utils; on Windows (under Wine) there is none, and the PDF checks are left to
// the Linux builds.
QString popplerTool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
#ifndef Q_OS_WIN
    if (path.isEmpty())
        qFatal("%s is missing (Debian package poppler-utils)", name);
#endif
    return path;
}

QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

// What pdftotext reads in the order the page draws it, without white space, with the printed
// minus sign as "-".
QString pdfText(const QString& path)
{
    QString text = QString::fromUtf8(
        run(popplerTool("pdftotext"), { QStringLiteral("-raw"), path, QStringLiteral("-") }));
    text.replace(QChar(0x2212), QLatin1Char('-'));
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

QString groupNumbers(const std::vector<std::int32_t>& group)
{
    QStringList numbers;
    for (const std::int32_t value : group)
        numbers << QString::number(value);
    return numbers.join(QLatin1Char(','));
}

// What an exercise shows, as pdfText reads it: "1.5/6*9/4=" reads "1.56*94=".
QString shownExercise(const WorksheetExercise& exercise)
{
    if (const auto* fraction = std::get_if<FractionExercise>(&exercise)) {
        QString text;
        for (std::size_t i = 0; i < fraction->terms.size(); ++i) {
            const FractionTerm& term = fraction->terms[i];
            if (fraction->operation == FractionOperation::Sum && (i > 0 || term.minus))
                text += term.minus ? QLatin1Char('-') : QLatin1Char('+');
            else if (i > 0)
                text += fraction->operation == FractionOperation::Product ? QLatin1Char('*')
                                                                          : QLatin1Char(':');
            text += QString::number(term.numerator) + QString::number(term.denominator);
        }
        return text + QLatin1Char('=');
    }
    if (const auto* number = std::get_if<std::int32_t>(&exercise))
        return QString::number(*number) + QLatin1Char('=');
    return QStringLiteral("ggT(%1)=kgV(%1)=")
        .arg(groupNumbers(std::get<std::vector<std::int32_t>>(exercise)));
}

// The solution as the solution page shows it, read the same way.
QString shownSolution(const WorksheetExercise& exercise)
{
    if (const auto* fraction = std::get_if<FractionExercise>(&exercise)) {
        const FractionSolution solution = *solveFractionExercise(*fraction);
        QString text = shownExercise(exercise);
        if (solution.denominator == 1)
            text += QString::number(solution.numerator);
        else
            text += QString::number(solution.numerator) + QString::number(solution.denominator);
        if (solution.mixed.whole && solution.mixed.restNumerator)
            text += QLatin1Char('=') + QString::number(*solution.mixed.whole)
                + QString::number(*solution.mixed.restNumerator)
                + QString::number(solution.mixed.restDenominator);
        return text + QStringLiteral("Dezimalzahl:") + QString::fromStdString(solution.decimal);
    }
    if (const auto* number = std::get_if<std::int32_t>(&exercise)) {
        QString text = QString::number(*number) + QLatin1Char('=');
        for (const PrimePower& power : primePowers(*number))
            text += (text.endsWith(QLatin1Char('=')) ? QString() : QStringLiteral("*"))
                + QString::number(power.prime)
                + (power.exponent > 1 ? QString::number(power.exponent) : QString());
        return text;
    }
    const auto& group = std::get<std::vector<std::int32_t>>(exercise);
    const GgtAndKgv result = ggtAndKgv(group);
    return QStringLiteral("ggT(%1)=%2kgV(%1)=%3")
        .arg(groupNumbers(group), QString::fromStdString(result.ggt),
            QString::fromStdString(result.kgv));
}

// Every piece in text, in order; the first that is missing, or an empty text.
QString firstMissing(const QString& text, const QStringList& pieces)
{
    qsizetype from = 0;
    for (const QString& piece : pieces) {
        const qsizetype at = text.indexOf(piece, from);
        if (at < 0)
            return piece;
        from = at + piece.size();
    }
    return {};
}

// Grey pages of the PDF at a low resolution, one PGM each: whether any dark pixel lies outside
// the page's margins.
QString inkOutsideMargins(const QString& pdf, const QString& folder)
{
    constexpr int Dpi = 40;
    const QString prefix = QDir(folder).filePath(QStringLiteral("page"));
    run(popplerTool("pdftoppm"),
        { QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-gray"), pdf, prefix });
    const auto pixels = [](double mm) { return mm / 25.4 * Dpi; };
    QStringList pages
        = QDir(folder).entryList({ QStringLiteral("page*.pgm") }, QDir::Files, QDir::Name);
    if (pages.isEmpty())
        return QStringLiteral("no pages");
    for (const QString& page : pages) {
        QImage image(QDir(folder).filePath(page));
        if (image.isNull())
            return page + QStringLiteral(" unreadable");
        // Antialiasing may grey one pixel beyond an edge.
        const QRectF inside(pixels(SideMarginMm) - 1, pixels(TopMarginMm) - 1,
            image.width() - 2 * pixels(SideMarginMm) + 2,
            image.height() - pixels(TopMarginMm) - pixels(BottomMarginMm) + 2);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 160 && !inside.contains(QPointF(x + 0.5, y + 0.5)))
                    return QStringLiteral("%1: ink at %2, %3").arg(page).arg(x).arg(y);
            }
        }
    }
    return {};
}

// The sheet's PDF written into folder; its path.
QString writtenPdf(const QTemporaryDir& folder, const QByteArray& pdf)
{
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        qFatal("%s cannot be written", qPrintable(path));
    return path;
}

} // namespace

class TestWorksheet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<frmPendro> m_main;

private slots:
    void initTestCase()
    {
        prepareApplication();
        m_main = std::make_unique<frmPendro>();
    }
    void cleanupTestCase() { m_main.reset(); }

    // A trainer started from a sheet's state draws the sheet's exercises, one per "Neue
    // Aufgabe", and judges the sheet's solution right with the same reduced fraction and decimal
    // value.
    void sheetsHoldTheTrainersExercisesAndSolutions_data()
    {
        QTest::addColumn<TrainerKind>("trainer");
        QTest::addColumn<WorksheetSettings>("settings");
        for (int terms = 2; terms <= 5; ++terms) {
            QTest::addRow("addsub %d", terms)
                << TrainerKind::AddSub << sheet(WorksheetKind::AddSub, terms, 12, 1000 + terms);
            QTest::addRow("mul %d", terms)
                << TrainerKind::Mul << sheet(WorksheetKind::Mul, terms, 12, 2000 + terms);
            QTest::addRow("div %d", terms)
                << TrainerKind::Div << sheet(WorksheetKind::Div, terms, 12, 3000 + terms);
            QTest::addRow("mul %d negative", terms)
                << TrainerKind::Mul << sheet(WorksheetKind::Mul, terms, 12, 4000 + terms, true);
            QTest::addRow("div %d negative", terms)
                << TrainerKind::Div << sheet(WorksheetKind::Div, terms, 12, 5000 + terms, true);
        }
    }
    void sheetsHoldTheTrainersExercisesAndSolutions()
    {
        QFETCH(TrainerKind, trainer);
        QFETCH(WorksheetSettings, settings);
        RandomGenerator random;
        TrainerCounters counters;
        const std::unique_ptr<TrainerFrame> window(
            trainerKindEntry(trainer).create(counters, random, *m_main));
        window->show();
        // The window has re-seeded on opening; the sheet's state takes over from here.
        random = RandomGenerator([] { return std::uint64_t { 0 }; }, settings.sheetNumber);
        control<QComboBox>(window.get(), "cbAG")->setEditText(QString::number(settings.terms));
        if (auto* minus = window->findChild<QCheckBox*>(QStringLiteral("cbMinus")))
            minus->setChecked(settings.negativeNumerators);

        int number = 0;
        for (const WorksheetExercise& exercise : worksheetExercises(settings)) {
            ++number;
            click(window.get(), "cbNeu");
            const auto& expected = std::get<FractionExercise>(exercise);
            for (int i = 0; i < settings.terms; ++i) {
                const FractionTerm& term = expected.terms[std::size_t(i)];
                QCOMPARE(field(window.get(), arrayMember("txtZ1", i))->text(),
                    QString::number(term.numerator));
                QCOMPARE(field(window.get(), arrayMember("txtN1", i))->text(),
                    QString::number(term.denominator));
                if (trainer == TrainerKind::AddSub)
                    QCOMPARE(field(window.get(), arrayMember("txtV1", i))->text(),
                        term.minus ? QStringLiteral("-") : QStringLiteral("+"));
            }

            const FractionSolution solution = *solveFractionExercise(expected);
            const MixedNumber& mixed = solution.mixed;
            field(window.get(), QStringLiteral("txtGZ5"))
                ->setText(mixed.whole ? QString::number(*mixed.whole) : QString());
            field(window.get(), QStringLiteral("txtZ5"))
                ->setText(mixed.restNumerator ? QString::number(*mixed.restNumerator) : QString());
            field(window.get(), QStringLiteral("txtHN5"))
                ->setText(mixed.restNumerator ? QString::number(mixed.restDenominator) : QString());
            click(window.get(), "cbP");
            QCOMPARE(caption(window.get(), QStringLiteral("lblGut")), QString::number(number));
            QCOMPARE(caption(window.get(), QStringLiteral("lblEDB")),
                QString::fromStdString(solution.decimal));
            // The division trainer may keep a divisor's sign in the denominator: the same value.
            const qint64 numerator = caption(window.get(), QStringLiteral("lblEZ1")).toLongLong();
            const qint64 denominator = caption(window.get(), QStringLiteral("lblEN1")).toLongLong();
            QCOMPARE(denominator < 0 ? -numerator : numerator, solution.numerator);
            QCOMPARE(denominator < 0 ? -denominator : denominator, solution.denominator);
        }
    }

    // The same number gives the same sheet; another number another one.
    void theSheetNumberFixesTheExercises()
    {
        for (const WorksheetKindInfo& info : WorksheetKinds) {
            const WorksheetSettings settings = sheet(info.kind, 3, 30, 4711);
            QCOMPARE(solutionLines(worksheetExercises(settings)),
                solutionLines(worksheetExercises(settings)));
            WorksheetSettings other = settings;
            other.sheetNumber = 4712;
            QVERIFY(solutionLines(worksheetExercises(settings))
                != solutionLines(worksheetExercises(other)));
        }
    }

    // Read back with poppler: every exercise on the exercise pages and every solution on the
    // solution pages, in order; the header; fonts embedded; small enough to mail.
    void pdfHoldsEveryExerciseAndSolution_data() { addFullSheetRows(); }
    void pdfHoldsEveryExerciseAndSolution()
    {
        QFETCH(WorksheetSettings, settings);
        if (popplerTool("pdftotext").isEmpty())
            QSKIP("no poppler-utils");
        QTemporaryDir folder;
        const QByteArray pdf = worksheetPdf(settings);
        const QString path = writtenPdf(folder, pdf);
        QVERIFY2(pdf.size() < 100 * 1024, qPrintable(QString::number(pdf.size())));

        const std::vector<WorksheetExercise> exercises = worksheetExercises(settings);
        QStringList expected {
            QString::fromUtf8(worksheetKindInfo(settings.kind).title).remove(QLatin1Char(' ')),
            QStringLiteral("Name:Klasse:Datum:"),
            QStringLiteral("Blattnummer%1").arg(settings.sheetNumber)
        };
        int number = 0;
        for (const WorksheetExercise& exercise : exercises)
            expected << QString::number(++number) + QLatin1Char('.') + shownExercise(exercise);
        expected << QStringLiteral("Lösungen:");
        number = 0;
        for (const WorksheetExercise& exercise : exercises)
            expected << QString::number(++number) + QLatin1Char('.') + shownSolution(exercise);
        const QString text = pdfText(path);
        const QString missing = firstMissing(text, expected);
        QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral(" in ") + text.left(400)));
        QVERIFY(text.contains(QStringLiteral("Seite1von")));

        const QString fonts = QString::fromUtf8(run(popplerTool("pdffonts"), { path }));
        const QStringList rows = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QVERIFY(!rows.isEmpty());
        for (const QString& row : rows)
            QVERIFY2(row.contains(QStringLiteral(" yes ")), qPrintable(row));
    }

    // Pictures of every page: no ink outside the margins, at five terms and thirty exercises.
    void nothingLeavesTheMargins_data() { addFullSheetRows(); }
    void nothingLeavesTheMargins()
    {
        QFETCH(WorksheetSettings, settings);
        if (popplerTool("pdftoppm").isEmpty())
            QSKIP("no poppler-utils");
        QTemporaryDir folder;
        const QString outside
            = inkOutsideMargins(writtenPdf(folder, worksheetPdf(settings)), folder.path());
        QVERIFY2(outside.isEmpty(), qPrintable(outside));
    }

    // The dialog by keys alone: Ctrl+P from a trainer, the settings chosen with arrow keys,
    // typing and Space, "Speichern …" by Return; the file saved where asked, then opened.
    void dialogSavesTheSheetItsKeysChose()
    {
        PendroApplication app;
        QVERIFY(QTest::qWaitForWindowActive(app.mainWindow()));
        app.showTrainer(TrainerKind::Mul);
        QWidget* trainer = app.trainerWindow(TrainerKind::Mul);
        QVERIFY(QTest::qWaitForWindowActive(trainer));
        QTest::keyClick(trainer, Qt::Key_P, Qt::ControlModifier);
        WorksheetDialog* dialog = app.worksheetDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName(), QStringLiteral("frmArbeitsblatt"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Arbeitsblatt erstellen"));
        QVERIFY(QTest::qWaitForWindowActive(dialog));

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Blatt.pdf"));
        QString suggested;
        QString opened;
        dialog->setPathChooser([&](const QString& offered) {
            suggested = offered;
            return path;
        });
        dialog->setOpenQuestion([](const QString&) { return true; });
        dialog->setOpener([&](const QString& file) { opened = file; });

        // Division, three terms, negative numerators, 12 exercises, sheet 4711, no solutions.
        QCOMPARE(QApplication::focusWidget(), dialog->cbAufgabenart);
        QTest::keyClick(dialog->cbAufgabenart, Qt::Key_Down);
        QTest::keyClick(dialog->cbAufgabenart, Qt::Key_Down);
        QVERIFY(!dialog->cbZahlenbereich->isEnabled());
        QVERIFY(dialog->cbMinus->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cbAG);
        QTest::keyClick(dialog->cbAG, Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cbMinus);
        QTest::keyClick(dialog->cbMinus, Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == dialog->spAnzahl
            || QApplication::focusWidget()->parentWidget() == dialog->spAnzahl);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->txtBlattnummer);
        QTest::keyClick(dialog->txtBlattnummer, Qt::Key_A, Qt::ControlModifier);
        // Only digits reach the sheet number.
        QTest::keyClicks(dialog->txtBlattnummer, QStringLiteral("47x1-1"));
        QCOMPARE(dialog->txtBlattnummer->text(), QStringLiteral("4711"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cbLoesungsblatt);
        QTest::keyClick(dialog->cbLoesungsblatt, Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cbSpeichern);
        QTest::keyClick(dialog->cbSpeichern, Qt::Key_Return);

        const WorksheetSettings chosen { WorksheetKind::Div, 3, true, 100, 12, 4711, false };
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Arbeitsblatt Division 4711.pdf"));
        QCOMPARE(opened, path);
        QVERIFY(dialog->lblHinweis->text().contains(QDir::toNativeSeparators(path)));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("%PDF-"));
        if (!popplerTool("pdftotext").isEmpty()) {
            const QString text = pdfText(path);
            QStringList expected;
            int number = 0;
            for (const WorksheetExercise& exercise : worksheetExercises(chosen))
                expected << QString::number(++number) + QLatin1Char('.') + shownExercise(exercise);
            QCOMPARE(firstMissing(text, expected), QString());
            QVERIFY(!text.contains(QStringLiteral("Lösungen")));
        }

        // Escape closes the dialog; the next Ctrl+P opens a new one.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(!app.worksheetDialog());
    }

    // Kinds enable what they use: ggT and kgV take 2 or 3 numbers and a range, the factorization
    // no terms; an empty sheet number is refused in the dialog's own line; a file that cannot be
    // written is named there, and nothing is opened.
    void dialogFollowsTheKindAndSaysWhatWentWrong()
    {
        WorksheetDialog dialog;
        dialog.show();
        QString opened;
        dialog.setOpenQuestion([](const QString&) { return true; });
        dialog.setOpener([&](const QString& file) { opened = file; });
        dialog.cbAG->setCurrentIndex(3);
        dialog.cbAufgabenart->setCurrentIndex(int(WorksheetKind::Ggt));
        QCOMPARE(dialog.cbAG->count(), 2);
        QCOMPARE(dialog.settings().terms, 2);
        QVERIFY(dialog.cbZahlenbereich->isEnabled() && !dialog.cbMinus->isEnabled());
        dialog.cbAufgabenart->setCurrentIndex(int(WorksheetKind::Factor));
        QVERIFY(!dialog.cbAG->isEnabled() && dialog.cbZahlenbereich->isEnabled());

        int asked = 0;
        dialog.setPathChooser([&](const QString&) {
            ++asked;
            return QDir(QDir::tempPath()).filePath(QStringLiteral("no/such/folder/x.pdf"));
        });
        dialog.txtBlattnummer->clear();
        QTest::keyClick(dialog.cbSpeichern, Qt::Key_Space);
        QCOMPARE(asked, 0);
        QVERIFY(dialog.lblHinweis->text().startsWith(QStringLiteral("Die Blattnummer")));
        QTest::mouseClick(dialog.cbNeueNummer, Qt::LeftButton);
        QVERIFY(dialog.settings().sheetNumber >= MinSheetNumber);
        QTest::keyClick(dialog.cbSpeichern, Qt::Key_Space);
        QCOMPARE(asked, 1);
        QVERIFY(
            dialog.lblHinweis->text().contains(QStringLiteral("kann nicht geschrieben werden")));
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(TestWorksheet)
#include "test_worksheet.moc"
