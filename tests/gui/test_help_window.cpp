// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QTest>

#include "core/factorization.h"
#include "gui_fixture.h"
#include "mainwin/frm_help.h"
#include "mainwin/help_text.h"
#include "toolkit/twips.h"
#include "toolkit/zoom.h"

using pendro::testing::control;

namespace {

QStringList helpLines()
{
    return pendro::helpText().split(QLatin1Char('\n'));
}

// The help text with its line breaks undone, for finding the fixed paragraphs word for word.
QString flowingHelpText()
{
    return helpLines().join(QLatin1Char(' ')).simplified();
}

qsizetype lineStartingWith(const QStringList& lines, const QString& start)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().startsWith(start))
            return i;
    }
    return -1;
}

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { pendro::testing::prepareApplication(); }

    void wrapsAtWordBoundaries_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("indent");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("fits exactly") << "abc def" << 7 << 0 << QStringList { "abc def" };
        QTest::newRow("one over") << "abc defg" << 7 << 0 << QStringList { "abc", "defg" };
        QTest::newRow("word as wide as a line")
            << "abcdefg hi" << 7 << 0 << QStringList { "abcdefg", "hi" };
        QTest::newRow("word wider than a line")
            << "ab abcdefghij cd" << 7 << 0 << QStringList { "ab", "abcdefghij", "cd" };
        QTest::newRow("runs of blanks collapse")
            << "  ab   cd  " << 7 << 0 << QStringList { "ab cd" };
        QTest::newRow("indent counts on the first line")
            << "ab cd ef" << 7 << 2 << QStringList { "  ab cd", "ef" };
        QTest::newRow("empty") << "" << 7 << 0 << QStringList();
    }

    void wrapsAtWordBoundaries()
    {
        QFETCH(QString, paragraph);
        QFETCH(int, width);
        QFETCH(int, indent);
        QFETCH(QStringList, lines);
        QCOMPARE(pendro::wrapParagraph(paragraph, width, indent), lines);
    }

    void noLineIsLongerThanSeventy()
    {
        for (const QString& line : helpLines())
            QVERIFY2(line.size() <= pendro::HelpColumns, qPrintable(line));
    }

    void keepsTheFixedParagraphsWordForWord_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::newRow("item 1") << QString::fromUtf8(
            "Dieses Tool gestattet die Primfaktorzerlegung von bis zu 8 Zahlen sowie daraus die "
            "Ermittlung des größten gemeinsamen Teilers (ggT) und des kleinsten gemeinsamen "
            "Vielfachen (kgV). Dabei wird das unten im Beispiel angewendete Verfahren benutzt.");
        QTest::newRow("item 2") << QString::fromUtf8(
            "Die Zahlen selber können aus dem Bereich von 2 bis 131100 stammen. Bei Zahlen größer "
            "als 131100 kann es zu folgender Fehlermeldung kommen:");
        QTest::newRow("item 4") << QString::fromUtf8(
            "Das liegt daran, dass als größte Primzahl in diesem Tool die Zahl 131071 berechnet "
            "wird. Die vom Tool ermittelten Primzahlen werden in der kleinen Listbox angezeigt. "
            "Dadurch, dass die Primzahlen erst beim Start des kleinen Programms berechnet und in "
            "die Listbox eingetragen werden, dauert der Start des Programms etwa 7 Sekunden "
            "(abhängig vom Leistungsvermögen des Rechners).");
        QTest::newRow("item 5") << QString::fromUtf8(
            "In der Version 2.0 ist ein Trainer für die 4 Grundrechenarten mit gemeinen Brüchen "
            "hinzugekommen. Dabei können bis zu 5 Glieder (Summanden bzw. Faktoren) gewählt "
            "werden.");
        QTest::newRow("item 8") << QString::fromUtf8(
            "Im folgenden wird eine Möglichkeit gezeigt, den ggT und das kgV selber über die "
            "Primfaktorzerlegung zu ermitteln:");
    }

    void keepsTheFixedParagraphsWordForWord()
    {
        QFETCH(QString, paragraph);
        QVERIFY2(flowingHelpText().contains(paragraph), qPrintable(paragraph));
        // Each item starts on a line of its own.
        const QString firstWords = paragraph.section(QLatin1Char(' '), 0, 2);
        QVERIFY(lineStartingWith(helpLines(), firstWords) >= 0);
    }

    void showsTheRejectionMessageQuotedAndIndented()
    {
        const QString quoted = QStringLiteral("  \"") + QString::fromUtf8(pendro::RejectionMessage)
            + QLatin1Char('"');
        QVERIFY(helpLines().contains(quoted));
    }

    void signsInTheRightHalfBeforeAnEmptyLine()
    {
        const QStringList lines = helpLines();
        const qsizetype signature = lineStartingWith(lines, QStringLiteral("Pendro, Juli 2013"));
        QVERIFY(signature >= 0);
        QCOMPARE(lines[signature].trimmed(), QStringLiteral("Pendro, Juli 2013"));
        QVERIFY(lines[signature].indexOf(QLatin1Char('P')) >= pendro::HelpColumns / 2);
        QVERIFY(lines.value(signature + 1).isEmpty());
        QVERIFY(!lines.value(signature + 2).isEmpty());
    }

    void exampleTableLinesUpOnItsBar()
    {
        const QStringList lines = helpLines();
        const qsizetype header = lineStartingWith(lines, QStringLiteral("Zahl | Primfaktoren"));
        QVERIFY(header >= 0);
        QVERIFY(header + 11 <= lines.size());

        const QString rule = QString(18, QLatin1Char(' ')) + QString(25, QLatin1Char('-'));
        const QString rowIndent(19, QLatin1Char(' '));
        const QStringList rows { "18  | 2*  3*3", "12  | 2*2*3", "30  | 2*  3*  5",
            "42  | 2*  3*    7", "36  | 2*2*3*3" };
        QCOMPARE(
            lines[header], QString(18, QLatin1Char(' ')) + QStringLiteral("Zahl | Primfaktoren"));
        QCOMPARE(lines[header + 1], rule);
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(lines[header + 2 + i], rowIndent + rows[i]);
        QCOMPARE(lines[header + 7], rule);
        QCOMPARE(lines[header + 8], rowIndent + QStringLiteral("ggT | 2*  3       =    6"));
        QCOMPARE(lines[header + 9], rowIndent + QStringLiteral("kgV | 2*2*3*3*5*7 = 1260"));
        QCOMPARE(lines[header + 10], rule);

        const qsizetype bar = lines[header].indexOf(QLatin1Char('|'));
        for (qsizetype i = header; i < header + 11; ++i) {
            if (lines[i].contains(QLatin1Char('|')))
                QCOMPARE(lines[i].indexOf(QLatin1Char('|')), bar);
        }
    }

    void windowHasItsCaptionSizeAndLabel()
    {
        pendro::frmHelp help;
        QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
        QCOMPARE(help.windowTitle(), QString::fromUtf8("Pendro - Erläuterung"));
        QVERIFY(help.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(help.size(), QSize(501, 595));
        QCOMPARE(help.minimumSize(), help.maximumSize());
        QVERIFY(!help.windowIcon().availableSizes().isEmpty());

        const auto* label = control<QLabel>(&help, "Label1");
        const pendro::TwipsRect rect = pendro::twipsGeometry(label);
        QCOMPARE(rect.left, 60.0);
        QCOMPARE(rect.top, 60.0);
        QCOMPARE(rect.width, 7395.0);
        QCOMPARE(rect.height, 8835.0);
        QCOMPARE(label->text(), pendro::helpText());
    }

    // At 100 % and at every zoom step.
    void seventyCharactersFitTheLabel_data()
    {
        QTest::addColumn<int>("percent");
        for (const int percent : pendro::ZoomPercents)
            QTest::addRow("%d %%", percent) << percent;
    }

    void seventyCharactersFitTheLabel()
    {
        QFETCH(int, percent);
        pendro::frmHelp help;
        const double factor = percent / 100.0;
        if (percent != 100)
            pendro::applyZoom(&help, factor);
        const auto* label = control<QLabel>(&help, "Label1");
        QVERIFY(QFontInfo(label->font()).fixedPitch());
        QVERIFY(label->font().pointSizeF() <= 9.0 * factor);

        const QFontMetricsF metrics(label->font());
        QVERIFY(metrics.horizontalAdvance(QString(pendro::HelpColumns, QLatin1Char('M')))
            <= label->width());
        qreal widest = 0;
        for (const QString& line : helpLines())
            widest = qMax(widest, metrics.horizontalAdvance(line));
        QVERIFY2(widest <= label->width(), qPrintable(QString::number(widest)));
        QVERIFY(metrics.lineSpacing() * helpLines().size() <= label->height());
    }
};

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"
