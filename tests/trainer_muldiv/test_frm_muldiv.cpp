// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <cstdint>
#include <memory>
#include <numeric>
#include <set>

#include "mainwin/frm_pendro.h"
#include "tests/gui/gui_fixture.h"
#include "tests/reference_fraction.h"
#include "toolkit/fonts.h"
#include "toolkit/line_control.h"
#include "trainer/trainer_counters.h"
#include "trainer_muldiv/frm_td.h"
#include "trainer_muldiv/frm_tm.h"

using namespace pendro;
using namespace pendro::testing;

namespace {

const QStringList SolutionLabels { "lblEZ1", "lblEN1", "lblGZ", "lblEZ2", "lblEN2" };
const QStringList AnswerFields { "txtGZ5", "txtZ5", "txtHN5" };

void setTermCount(const QWidget* window, int count)
{
    control<QComboBox>(window, "cbAG")->setEditText(QString::number(count));
}

// "Neue Aufgabe" with as many terms as given, then the generated terms overwritten by typing.
bool enterExercise(const QWidget* window, const QStringList& terms)
{
    setTermCount(window, static_cast<int>(terms.size()));
    click(window, "cbNeu");
    for (int i = 0; i < terms.size(); ++i) {
        const QStringList parts = terms[i].split(QLatin1Char('/'));
        if (!type(window, arrayMember("txtZ1", i), parts[0])
            || !type(window, arrayMember("txtN1", i), parts[1]))
            return false;
    }
    return true;
}

void setAnswer(const QWidget* window, const QStringList& answer)
{
    for (int i = 0; i < AnswerFields.size(); ++i)
        field(window, AnswerFields[i])->setText(answer[i]);
}

QStringList solutionCaptions(const QWidget* window)
{
    QStringList captions;
    for (const QString& label : SolutionLabels)
        captions << caption(window, label);
    return captions;
}

} // namespace

class TestFrmMulDiv : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<frmPendro> m_main;
    std::uint64_t m_clockReadings = 0;
    std::unique_ptr<RandomGenerator> m_random;
    TrainerCounters m_counters;
    TrainerCounters m_otherCounters;
    std::unique_ptr<TrainerFrame> m_window;
    std::unique_ptr<TrainerFrame> m_other;

    std::unique_ptr<TrainerFrame> make(const QString& kind, TrainerCounters& counters)
    {
        std::unique_ptr<TrainerFrame> window;
        if (kind == QLatin1String("frmTM"))
            window = std::make_unique<frmTM>(counters, *m_random, *m_main);
        else
            window = std::make_unique<frmTD>(counters, *m_random, *m_main);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("%s was not shown", qPrintable(kind));
        return window;
    }

    QWidget* open(const QString& kind)
    {
        m_window = make(kind, m_counters);
        return m_window.get();
    }

    static void addWindowColumn() { QTest::addColumn<QString>("window"); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void newExerciseOpensOnlyTheChosenColumns_data();
    void newExerciseOpensOnlyTheChosenColumns();
    void newExerciseDrawsEachValueAfterItsOwnReseed_data();
    void newExerciseDrawsEachValueAfterItsOwnReseed();
    void generatedTermsStayInRangeWithSignsAsRequested_data();
    void generatedTermsStayInRangeWithSignsAsRequested();

    void checkShowsSolutionAndJudgesTheAnswerByExactText_data();
    void checkShowsSolutionAndJudgesTheAnswerByExactText();
    void checkCountsEveryAttemptAndEmptiesTheMainWindow();
    void failingCheckKeepsOnlyWhatEarlierStepsWrote_data();
    void failingCheckKeepsOnlyWhatEarlierStepsWrote();
    void generatedExercisesAgreeWithExactFractions_data();
    void generatedExercisesAgreeWithExactFractions();
    void eachWindowKeepsItsOwnCounters();

    void equalsBoxOpensTheNextStepOnlyWhenTheRowBeforeIsFilled_data();
    void equalsBoxOpensTheNextStepOnlyWhenTheRowBeforeIsFilled();
    void rowTwoCountsOnlyTheCurrentTermCount_data();
    void rowTwoCountsOnlyTheCurrentTermCount();
    void equalsBoxIgnoresATermCountOutsideTwoToEight_data();
    void equalsBoxIgnoresATermCountOutsideTwoToEight();
};

void TestFrmMulDiv::initTestCase()
{
    installFontSubstitutions();
    QApplication::setStyle(QStringLiteral("Fusion"));
    m_main = std::make_unique<frmPendro>();
}

void TestFrmMulDiv::init()
{
    m_clockReadings = 0;
    m_random = std::make_unique<RandomGenerator>([this] { return ++m_clockReadings; }, 20130101);
    m_counters = {};
    m_otherCounters = {};
}

void TestFrmMulDiv::cleanup()
{
    m_window.reset();
    m_other.reset();
    m_main->ClearMainFields();
}

void TestFrmMulDiv::cleanupTestCase()
{
    m_main.reset();
}

// ---------------------------------------------------------------------------------------------
// Neue Aufgabe

void TestFrmMulDiv::newExerciseOpensOnlyTheChosenColumns_data()
{
    addWindowColumn();
    QTest::addColumn<int>("terms");
    QTest::addColumn<double>("barEnd");
    for (const char* window : { "frmTM", "frmTD" }) {
        const double ends[] = { 2280, 3480, 4680, 5880 };
        for (int terms = 2; terms <= 5; ++terms)
            QTest::addRow("%s, %d terms", window, terms)
                << QString::fromLatin1(window) << terms << ends[terms - 2];
    }
}

void TestFrmMulDiv::newExerciseOpensOnlyTheChosenColumns()
{
    QFETCH(QString, window);
    QFETCH(int, terms);
    QFETCH(double, barEnd);
    QWidget* form = open(window);

    // A five-term exercise solved first: none of it may survive into the next one.
    QVERIFY(enterExercise(form, { "1/2", "1/1", "1/1", "1/1", "1/1" }));
    for (const char* name : { "txtZ2_4", "txtN2_4", "txtZ3", "txtHN4" })
        field(form, QString::fromLatin1(name))->setText(QStringLiteral("9"));
    setAnswer(form, { QString(), "1", "2" });
    click(form, "cbP");
    QVERIFY(shown(form, "cbNeu"));
    setTermCount(form, terms);
    click(form, "cbNeu");

    for (int i = 0; i < 8; ++i) {
        const bool used = i < terms;
        for (const char* array : { "txtZ1", "txtN1" }) {
            QCOMPARE(shown(form, arrayMember(array, i)), used);
            QCOMPARE(field(form, arrayMember(array, i))->text().isEmpty(), !used);
        }
        for (const char* array : { "txtZ2", "txtN2" }) {
            QCOMPARE(shown(form, arrayMember(array, i)), used);
            QVERIFY(field(form, arrayMember(array, i))->text().isEmpty());
        }
        QCOMPARE(shown(form, arrayMember("L1", i)), used);
        if (i < 7) {
            for (const char* signs : { "lblV1", "lblVZ2", "lblVN2" })
                QCOMPARE(shown(form, arrayMember(signs, i)), i < terms - 1);
        }
    }
    const auto* bar = control<Line>(form, "L2");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->x1(), 360.0);
    QCOMPARE(bar->x2(), barEnd);
    QCOMPARE(bar->y1(), 2040.0);

    QCOMPARE(field(form, "txtG2")->text(), QStringLiteral("="));
    QVERIFY(shown(form, "txtG2"));
    QVERIFY(shown(form, "txtG3"));
    QVERIFY(field(form, "txtG3")->text().isEmpty());
    for (const char* hidden : { "txtG4", "txtG5", "txtZ3", "txtHN3", "txtZ4", "txtHN4", "txtGZ5",
             "L3", "L10", "lblEZ1", "lblGZ" })
        QVERIFY2(!shown(form, QString::fromLatin1(hidden)), hidden);
    for (const char* empty : { "txtZ3", "txtHN4", "txtGZ5", "txtZ5", "txtHN5" })
        QVERIFY2(field(form, QString::fromLatin1(empty))->text().isEmpty(), empty);
    QVERIFY(caption(form, "lblEZ1").isEmpty());
    QVERIFY(caption(form, "lblEDB").isEmpty());

    QCOMPARE(form->focusWidget(), control<QWidget>(form, "txtZ2_0"));
    QVERIFY(!shown(form, "cbNeu"));
    QVERIFY(shown(form, "cbP"));
    QCOMPARE(caption(form, "lblVon"), QStringLiteral("2"));
    QCOMPARE(caption(form, "lblGut"), QStringLiteral("1"));
    QCOMPARE(caption(form, "lblVersuche"), QStringLiteral("1"));
}

void TestFrmMulDiv::newExerciseDrawsEachValueAfterItsOwnReseed_data()
{
    addWindowColumn();
    QTest::addColumn<int>("terms");
    QTest::addColumn<bool>("negative");
    for (const char* window : { "frmTM", "frmTD" }) {
        for (int terms : { 2, 5 }) {
            for (bool negative : { false, true })
                QTest::addRow(
                    "%s, %d terms%s", window, terms, negative ? ", negative numerators" : "")
                    << QString::fromLatin1(window) << terms << negative;
        }
    }
}

// One re-seed for the exercise, then a re-seed before every draw: numerator, sign (only with
// negative numerators allowed), denominator, term by term. A second generator fed the same clock
// readings replays the sequence.
void TestFrmMulDiv::newExerciseDrawsEachValueAfterItsOwnReseed()
{
    QFETCH(QString, window);
    QFETCH(int, terms);
    QFETCH(bool, negative);
    QWidget* form = open(window);
    setTermCount(form, terms);
    control<QCheckBox>(form, "cbMinus")->setChecked(negative);

    for (int exercise = 0; exercise < 20; ++exercise) {
        std::uint64_t replayReadings = m_clockReadings;
        RandomGenerator replay([&replayReadings] { return ++replayReadings; }, m_random->state());
        const std::uint64_t readingsBefore = m_clockReadings;

        click(form, "cbClear");
        click(form, "cbNeu");

        const std::uint64_t drawsPerTerm = negative ? 3 : 2;
        QCOMPARE(
            m_clockReadings - readingsBefore, 1 + drawsPerTerm * static_cast<std::uint64_t>(terms));

        auto draw = [&replay] {
            replay.reseedFromClock();
            return replay.draw();
        };
        auto upToTen = [&draw] { return static_cast<int>(std::floor(draw() * 10.0F + 1.0F)); };
        replay.reseedFromClock();
        for (int i = 0; i < terms; ++i) {
            int numerator = upToTen();
            if (negative && draw() >= 0.5F)
                numerator = -numerator;
            const int denominator = upToTen();
            QCOMPARE(field(form, arrayMember("txtZ1", i))->text(), QString::number(numerator));
            QCOMPARE(field(form, arrayMember("txtN1", i))->text(), QString::number(denominator));
        }
        QCOMPARE(m_random->state(), replay.state());
    }
}

void TestFrmMulDiv::generatedTermsStayInRangeWithSignsAsRequested_data()
{
    addWindowColumn();
    QTest::addColumn<bool>("negative");
    for (const char* window : { "frmTM", "frmTD" }) {
        QTest::addRow("%s, positive only", window) << QString::fromLatin1(window) << false;
        QTest::addRow("%s, negative allowed", window) << QString::fromLatin1(window) << true;
    }
}

void TestFrmMulDiv::generatedTermsStayInRangeWithSignsAsRequested()
{
    QFETCH(QString, window);
    QFETCH(bool, negative);
    QWidget* form = open(window);
    setTermCount(form, 5);
    control<QCheckBox>(form, "cbMinus")->setChecked(negative);

    const QRegularExpression numeratorForm(QStringLiteral("^-?[1-9][0-9]?$"));
    const QRegularExpression denominatorForm(QStringLiteral("^[1-9][0-9]?$"));
    std::set<int> numeratorSizes;
    std::set<int> denominators;
    int negatives = 0;
    int negativeFirstTerms = 0;
    const int exercises = 400;
    for (int exercise = 0; exercise < exercises; ++exercise) {
        click(form, "cbClear");
        click(form, "cbNeu");
        for (int i = 0; i < 5; ++i) {
            const QString numerator = field(form, arrayMember("txtZ1", i))->text();
            const QString denominator = field(form, arrayMember("txtN1", i))->text();
            QVERIFY2(numeratorForm.match(numerator).hasMatch(), qPrintable(numerator));
            QVERIFY2(denominatorForm.match(denominator).hasMatch(), qPrintable(denominator));
            const int size = std::abs(numerator.toInt());
            QVERIFY(size >= 1 && size <= 10);
            QVERIFY(denominator.toInt() <= 10);
            numeratorSizes.insert(size);
            denominators.insert(denominator.toInt());
            if (numerator.startsWith(QLatin1Char('-'))) {
                ++negatives;
                negativeFirstTerms += i == 0 ? 1 : 0;
            }
        }
    }
    const std::set<int> oneToTen { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 };
    QCOMPARE(numeratorSizes, oneToTen);
    QCOMPARE(denominators, oneToTen);
    if (!negative) {
        QCOMPARE(negatives, 0);
        return;
    }
    const double share = negatives / (5.0 * exercises);
    QVERIFY2(share > 0.45 && share < 0.55, qPrintable(QString::number(share)));
    const double firstShare = negativeFirstTerms / double(exercises);
    QVERIFY2(firstShare > 0.4 && firstShare < 0.6, qPrintable(QString::number(firstShare)));
}

// ---------------------------------------------------------------------------------------------
// Ergebnis überprüfen

void TestFrmMulDiv::checkShowsSolutionAndJudgesTheAnswerByExactText_data()
{
    addWindowColumn();
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QStringList>("answer"); // txtGZ5, txtZ5, txtHN5
    QTest::addColumn<QStringList>("solution"); // lblEZ1, lblEN1, lblGZ, lblEZ2, lblEN2
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<bool>("correct");

    const QString none;
    auto row = [](const char* tag, const char* window, const QStringList& terms,
                   const QStringList& answer, const QStringList& solution, const char* decimal,
                   bool correct) {
        QTest::newRow(tag) << QString::fromLatin1(window) << terms << answer << solution
                           << QString::fromUtf8(decimal) << correct;
    };

    // The worked examples.
    row("5/6 * 9/4", "frmTM", { "5/6", "9/4" }, { "1", "7", "8" }, { "15", "8", "1", "7", "8" },
        "1,875", true);
    row("-7/3 * 1/1", "frmTM", { "-7/3", "1/1" }, { "-2", "1", "3" }, { "-7", "3", "-2", "1", "3" },
        "-2,33333333333333", true);
    row("4/3 * 3/2", "frmTM", { "4/3", "3/2" }, { "2", none, none }, { "2", "1", "2", none, none },
        "2,", true);
    row("3/4 * 2/9", "frmTM", { "3/4", "2/9" }, { none, "1", "6" }, { "1", "6", none, "1", "6" },
        "0,16666666666667", true);
    row("1/2 : -3/4", "frmTD", { "1/2", "-3/4" }, { none, "-2", "3" },
        { "2", "-3", none, "-2", "3" }, "-0,66666666666667", true);
    row("7/1 : -2/1", "frmTD", { "7/1", "-2/1" }, { "-3", "1", "2" }, { "7", "-2", "-3", "1", "2" },
        "-3,5", true);

    // Answers that look nearly right.
    row("proper fraction with whole part 0", "frmTM", { "3/4", "2/9" }, { "0", "1", "6" },
        { "1", "6", none, "1", "6" }, "0,16666666666667", false);
    row("whole number with 0 over 1", "frmTM", { "4/3", "3/2" }, { "2", "0", "1" },
        { "2", "1", "2", none, none }, "2,", false);
    row("result 1", "frmTM", { "2/3", "3/2" }, { "1", none, none }, { "1", "1", "1", none, none },
        "1,", true);
    row("result 1 as 1 over 1", "frmTM", { "2/3", "3/2" }, { none, "1", "1" },
        { "1", "1", "1", none, none }, "1,", false);
    row("negative mixed number with sign in the fraction too", "frmTM", { "-7/3", "1/1" },
        { "-2", "-1", "3" }, { "-7", "3", "-2", "1", "3" }, "-2,33333333333333", false);
    row("divisor's sign left in the denominator", "frmTD", { "1/2", "-3/4" }, { none, "2", "-3" },
        { "2", "-3", none, "-2", "3" }, "-0,66666666666667", false);
    row("divisor's sign dropped", "frmTD", { "1/2", "-3/4" }, { none, "2", "3" },
        { "2", "-3", none, "-2", "3" }, "-0,66666666666667", false);
    row("two negative terms give a positive result", "frmTD", { "-1/2", "-3/4" },
        { none, "2", "3" }, { "-2", "-3", none, "2", "3" }, "0,66666666666667", true);
    row("negative whole number from a divisor", "frmTD", { "6/1", "-3/1" }, { "-2", none, none },
        { "2", "-1", "-2", none, none }, "-2,", true);
    row("plus sign", "frmTM", { "4/3", "3/2" }, { "+2", none, none }, { "2", "1", "2", none, none },
        "2,", false);
    row("leading zero", "frmTM", { "4/3", "3/2" }, { "02", none, none },
        { "2", "1", "2", none, none }, "2,", false);
    row("leading blank", "frmTM", { "4/3", "3/2" }, { " 2", none, none },
        { "2", "1", "2", none, none }, "2,", false);
    row("trailing blank", "frmTM", { "4/3", "3/2" }, { "2 ", none, none },
        { "2", "1", "2", none, none }, "2,", false);
    row("unreduced proper fraction", "frmTM", { "3/4", "2/9" }, { none, "6", "36" },
        { "1", "6", none, "1", "6" }, "0,16666666666667", false);
    row("unreduced mixed number", "frmTM", { "5/6", "9/4" }, { "1", "21", "24" },
        { "15", "8", "1", "7", "8" }, "1,875", false);
    row("numerator 0", "frmTM", { "0/5", "3/4" }, { none, "0", "1" }, { "0", "1", none, "0", "1" },
        "0,", true);
    row("numerator 0 answered as whole 0", "frmTM", { "0/5", "3/4" }, { "0", none, none },
        { "0", "1", none, "0", "1" }, "0,", false);
    row("numerator 0 left empty", "frmTM", { "0/5", "3/4" }, { none, none, none },
        { "0", "1", none, "0", "1" }, "0,", false);
    row("numerator 0 before a negative divisor", "frmTD", { "0/2", "-3/4" }, { none, "0", "1" },
        { "0", "-1", none, "0", "1" }, "0,", true);
    row("9/2 * 9/1 * 9/1 * 9/1 * 9/1", "frmTM", { "9/2", "9/1", "9/1", "9/1", "9/1" },
        { "29524", "1", "2" }, { "59049", "2", "29524", "1", "2" }, "29524,5", true);

    // Products beyond the main window's calculator get their ggT worked out exactly.
    row("400/3 * 500/7", "frmTM", { "400/3", "500/7" }, { "9523", "17", "21" },
        { "200000", "21", "9523", "17", "21" }, "9523,80952380952", true);
    row("400/3 : 7/500", "frmTD", { "400/3", "7/500" }, { "9523", "17", "21" },
        { "200000", "21", "9523", "17", "21" }, "9523,80952380952", true);
    row("large numerator sharing a factor", "frmTM", { "400/3", "600/9" }, { "8888", "8", "9" },
        { "80000", "9", "8888", "8", "9" }, "8888,88888888889", true);
    row("large denominator", "frmTM", { "1/400", "3/500" }, { none, "3", "200000" },
        { "3", "200000", none, "3", "200000" }, "0,000015", true);
    row("both large and equal", "frmTM", { "400/400", "500/500" }, { "1", none, none },
        { "1", "1", "1", none, none }, "1,", true);
    row("quotient beyond 32 bits", "frmTD", { "1/1", "1/30000", "1/30000", "1/30000" },
        { "27000000000000", none, none }, { "27000000000000", "1", "27000000000000", none, none },
        "27000000000000,", true);
}

void TestFrmMulDiv::checkShowsSolutionAndJudgesTheAnswerByExactText()
{
    QFETCH(QString, window);
    QFETCH(QStringList, terms);
    QFETCH(QStringList, answer);
    QFETCH(QStringList, solution);
    QFETCH(QString, decimal);
    QFETCH(bool, correct);
    QWidget* form = open(window);
    QVERIFY(enterExercise(form, terms));
    for (const char* label : { "lblEZ1", "lblG6", "lblGZ", "L10", "L15" })
        QVERIFY2(!shown(form, QString::fromLatin1(label)), label);

    setAnswer(form, answer);
    click(form, "cbP");

    QCOMPARE(solutionCaptions(form), solution);
    QCOMPARE(caption(form, "lblEDB"), decimal);
    QCOMPARE(caption(form, "lblG6"), QStringLiteral("="));
    QCOMPARE(caption(form, "lblGut"), correct ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(caption(form, "lblVersuche"), QStringLiteral("1"));
    QCOMPARE(caption(form, "lblVT"), QStringLiteral("Versuch"));
    QCOMPARE(shown(form, "cbP"), !correct);
    QCOMPARE(shown(form, "cbNeu"), correct);
    for (const char* label : { "lblEZ1", "lblEN1", "lblG6", "lblGZ", "lblEZ2", "lblEN2", "lblEDB" })
        QVERIFY2(shown(form, QString::fromLatin1(label)), label);
    for (int line = 10; line <= 15; ++line)
        QVERIFY(shown(form, QStringLiteral("L%1").arg(line)));
    // The pupil's answer is left as typed.
    for (int i = 0; i < AnswerFields.size(); ++i)
        QCOMPARE(field(form, AnswerFields[i])->text(), answer[i]);
    for (int i = 0; i < NumberFieldCount; ++i)
        QVERIFY(m_main->numberText(i).isEmpty());
    QVERIFY(m_main->ggtCaption().isEmpty());
}

// A wrong answer keeps "Ergebnis überprüfen"; every completed check counts and empties whatever
// stood in the main window.
void TestFrmMulDiv::checkCountsEveryAttemptAndEmptiesTheMainWindow()
{
    QWidget* form = open(QStringLiteral("frmTM"));
    QVERIFY(enterExercise(form, { "5/6", "9/4" }));
    setAnswer(form, { "1", "21", "24" });
    click(form, "cbP");

    m_main->setNumberText(3, QStringLiteral("12"));
    click(form, "cbP");
    QCOMPARE(caption(form, "lblVersuche"), QStringLiteral("2"));
    QCOMPARE(caption(form, "lblVT"), QStringLiteral("Versuche"));
    QVERIFY(m_main->numberText(3).isEmpty());

    setAnswer(form, { "1", "7", "8" });
    click(form, "cbP");
    QCOMPARE(caption(form, "lblGut"), QStringLiteral("1"));
    QCOMPARE(caption(form, "lblVersuche"), QStringLiteral("3"));
    QCOMPARE(caption(form, "lblVon"), QStringLiteral("1"));
    QVERIFY(!shown(form, "cbP"));
    QCOMPARE(int(m_counters.correct), 1);
    QCOMPARE(int(m_counters.attempts), 3);
}

void TestFrmMulDiv::failingCheckKeepsOnlyWhatEarlierStepsWrote_data()
{
    addWindowColumn();
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QStringList>("solution"); // lblEZ1, lblEN1, lblGZ, lblEZ2, lblEN2
    QTest::addColumn<QStringList>("main"); // txtZ1(0), txtZ1(1), txtZ1(5), lblGGT

    const QString none;
    // The main window as the test leaves it before the check, when the check never reaches it.
    const QStringList untouched { "77", none, "88", none };
    const QStringList emptied { none, none, none, none, none };
    auto row = [](const char* tag, const char* window, const QStringList& terms,
                   const QStringList& solution, const QStringList& main) {
        QTest::newRow(tag) << QString::fromLatin1(window) << terms << solution << main;
    };

    row("empty numerator", "frmTM", { "/6", "9/4" }, emptied, untouched);
    row("empty denominator", "frmTD", { "5/6", "9/" }, emptied, untouched);
    row("numerator beyond 16 bits", "frmTM", { "40000/3", "1/2" }, emptied, untouched);
    row("denominator beyond 16 bits", "frmTD", { "1/2", "3/40000" }, emptied, untouched);
    row("denominator product beyond 32 bits", "frmTM", { "1/30000", "1/30000", "1/30000" }, emptied,
        untouched);
    row("numerator product beyond 32 bits", "frmTM", { "30000/1", "30000/1", "30000/1" }, emptied,
        untouched);
    row("division's denominator beyond 32 bits", "frmTD", { "1/30000", "30000/1", "30000/1" },
        emptied, untouched);
    row("division's numerator beyond 2^53", "frmTD",
        { "1/1", "1/30000", "1/30000", "1/30000", "1/30000" }, emptied, untouched);
    row("divisor with denominator 0", "frmTD", { "1/2", "3/0" }, emptied, untouched);
    row("denominator 0", "frmTM", { "5/0", "3/4" }, { "1", "0", none, none, none },
        { none, "15", none, "15" });
    row("divisor with numerator 0", "frmTD", { "5/4", "0/3" }, { "1", "0", none, none, none },
        { none, "15", none, "15" });
    row("both products 0", "frmTM", { "0/2", "3/0" }, emptied, { none, none, none, none });
    row("reduced numerator beyond 32 bits", "frmTD", { "1/7", "1/30000", "1/30000", "1/3" },
        { "2700000000", "7", "385714285", none, "7" }, { "7", "2700000000", none, "7" });
}

void TestFrmMulDiv::failingCheckKeepsOnlyWhatEarlierStepsWrote()
{
    QFETCH(QString, window);
    QFETCH(QStringList, terms);
    QFETCH(QStringList, solution);
    QFETCH(QStringList, main);
    QWidget* form = open(window);

    // A completed check first, so that the solution display is shown and filled.
    QVERIFY(enterExercise(form, { "5/6", "9/4" }));
    click(form, "cbP");
    QCOMPARE(caption(form, "lblVersuche"), QStringLiteral("1"));
    const QString decimalBefore = caption(form, "lblEDB");
    QVERIFY(!decimalBefore.isEmpty());

    for (int i = 0; i < terms.size(); ++i) {
        const QStringList parts = terms[i].split(QLatin1Char('/'));
        QVERIFY(type(form, arrayMember("txtZ1", i), parts[0]));
        QVERIFY(type(form, arrayMember("txtN1", i), parts[1]));
    }
    setTermCount(form, static_cast<int>(terms.size()));
    m_main->setNumberText(0, QStringLiteral("77"));
    m_main->setNumberText(5, QStringLiteral("88"));

    click(form, "cbP");

    QCOMPARE(solutionCaptions(form), solution);
    QCOMPARE(caption(form, "lblG6"), QStringLiteral("="));
    QCOMPARE(caption(form, "lblEDB"), decimalBefore);
    QCOMPARE(QStringList({ m_main->numberText(0), m_main->numberText(1), m_main->numberText(5),
                 m_main->ggtCaption() }),
        main);
    // Nothing counted, nothing revealed or hidden anew.
    QCOMPARE(caption(form, "lblVersuche"), QStringLiteral("1"));
    QCOMPARE(caption(form, "lblGut"), QStringLiteral("0"));
    QCOMPARE(caption(form, "lblVT"), QStringLiteral("Versuch"));
    QCOMPARE(int(m_counters.attempts), 1);
    QVERIFY(shown(form, "cbP"));
    QVERIFY(shown(form, "lblEZ1"));
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        QVERIFY2(!label->text().contains(QLatin1String("inf"), Qt::CaseInsensitive)
                && !label->text().contains(QLatin1String("nan"), Qt::CaseInsensitive),
            qPrintable(label->objectName()));
    }
}

void TestFrmMulDiv::generatedExercisesAgreeWithExactFractions_data()
{
    addWindowColumn();
    QTest::addColumn<bool>("negative");
    for (const char* window : { "frmTM", "frmTD" }) {
        QTest::addRow("%s, positive only", window) << QString::fromLatin1(window) << false;
        QTest::addRow("%s, negative allowed", window) << QString::fromLatin1(window) << true;
    }
}

// A pupil working through generated exercises step by step: row 2, the products, the reduced
// fraction, then a wrong mixed number and the right one. The right answer comes from exact
// integer arithmetic here, independent of the window.
void TestFrmMulDiv::generatedExercisesAgreeWithExactFractions()
{
    QFETCH(QString, window);
    QFETCH(bool, negative);
    QWidget* form = open(window);
    const bool dividing = window == QLatin1String("frmTD");
    control<QCheckBox>(form, "cbMinus")->setChecked(negative);

    const int exercises = 150;
    for (int exercise = 0; exercise < exercises; ++exercise) {
        const int terms = 2 + exercise % 4;
        setTermCount(form, terms);
        click(form, "cbNeu");

        std::int64_t upperProduct = 1;
        std::int64_t lowerProduct = 1;
        for (int i = 0; i < terms; ++i) {
            std::int64_t upper = field(form, arrayMember("txtZ1", i))->text().toLongLong();
            std::int64_t lower = field(form, arrayMember("txtN1", i))->text().toLongLong();
            if (dividing && i > 0)
                std::swap(upper, lower);
            upperProduct *= upper;
            lowerProduct *= lower;
            // Row 2 takes no sign below the bar; the sign moves up.
            const std::int64_t sign = lower < 0 ? -1 : 1;
            QVERIFY(type(form, arrayMember("txtZ2", i), QString::number(upper * sign)));
            QVERIFY(type(form, arrayMember("txtN2", i), QString::number(lower * sign)));
        }
        const Fraction exact = reduced(upperProduct, lowerProduct);
        const std::int64_t sign = lowerProduct < 0 ? -1 : 1;

        click(form, "txtG3");
        QVERIFY(shown(form, "txtZ3"));
        QVERIFY(type(form, "txtZ3", QString::number(upperProduct * sign)));
        QVERIFY(type(form, "txtHN3", QString::number(lowerProduct * sign)));
        click(form, "txtG4");
        QVERIFY(shown(form, "txtZ4"));
        QVERIFY(type(form, "txtZ4", QString::number(exact.numerator)));
        QVERIFY(type(form, "txtHN4", QString::number(exact.denominator)));
        click(form, "txtG5");
        QVERIFY(shown(form, "txtGZ5"));

        const QStringList answer = mixedAnswer(exact);
        QVERIFY(type(form, "txtGZ5", answer[0]));
        QVERIFY(type(form, "txtZ5", answer[1]));
        QVERIFY(type(form, "txtHN5", answer[2] + QLatin1Char('1')));
        const QString attemptsBefore = caption(form, "lblVersuche");
        const QString correctBefore = caption(form, "lblGut");
        click(form, "cbP");
        QVERIFY(caption(form, "lblVersuche") != attemptsBefore);
        QCOMPARE(caption(form, "lblGut"), correctBefore);
        QVERIFY(shown(form, "cbP"));

        QVERIFY(type(form, "txtHN5", answer[2]));
        click(form, "cbP");
        const QString context = QStringLiteral("exercise %1: %2/%3")
                                    .arg(exercise)
                                    .arg(upperProduct)
                                    .arg(lowerProduct);
        QVERIFY2(caption(form, "lblGut") != correctBefore, qPrintable(context));
        QVERIFY2(shown(form, "cbNeu"), qPrintable(context));
        QCOMPARE(solutionCaptions(form).mid(2), answer);

        // The reduced fraction has the exact value and the exact size; a division may show the
        // sign below the bar.
        const std::int64_t shownNumerator = caption(form, "lblEZ1").toLongLong();
        const std::int64_t shownDenominator = caption(form, "lblEN1").toLongLong();
        QCOMPARE(std::abs(shownDenominator), exact.denominator);
        QCOMPARE(shownNumerator * exact.denominator, exact.numerator * shownDenominator);
        QVERIFY(dividing || shownDenominator > 0);

        QString decimal = caption(form, "lblEDB");
        QVERIFY2(!decimal.contains(QLatin1Char('.')), qPrintable(decimal));
        QVERIFY2(decimal.contains(QLatin1Char(',')), qPrintable(decimal));
        const double value = double(exact.numerator) / double(exact.denominator);
        const double read = decimal.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        QVERIFY2(
            std::abs(read - value) <= 1e-13 * std::max(1.0, std::abs(value)), qPrintable(context));
    }
    QCOMPARE(int(m_counters.exercises), exercises);
    QCOMPARE(int(m_counters.correct), exercises);
    QCOMPARE(int(m_counters.attempts), 2 * exercises);
}

void TestFrmMulDiv::eachWindowKeepsItsOwnCounters()
{
    QWidget* multiplication = open(QStringLiteral("frmTM"));
    m_other = make(QStringLiteral("frmTD"), m_otherCounters);
    QWidget* division = m_other.get();

    QVERIFY(enterExercise(multiplication, { "5/6", "9/4" }));
    setAnswer(multiplication, { "1", "7", "8" });
    click(multiplication, "cbP");
    QVERIFY(enterExercise(multiplication, { "4/3", "3/2" }));
    QVERIFY(enterExercise(division, { "7/1", "-2/1" }));

    QCOMPARE(caption(multiplication, "lblVon"), QStringLiteral("2"));
    QCOMPARE(caption(multiplication, "lblGut"), QStringLiteral("1"));
    QCOMPARE(caption(multiplication, "lblVersuche"), QStringLiteral("1"));
    QCOMPARE(caption(division, "lblVon"), QStringLiteral("1"));
    QCOMPARE(caption(division, "lblGut"), QStringLiteral("0"));
    QCOMPARE(caption(division, "lblVersuche"), QStringLiteral("0"));
    QCOMPARE(int(m_counters.exercises), 2);
    QCOMPARE(int(m_otherCounters.exercises), 1);
    QCOMPARE(int(m_otherCounters.attempts), 0);
}

// ---------------------------------------------------------------------------------------------
// Step aids

void TestFrmMulDiv::equalsBoxOpensTheNextStepOnlyWhenTheRowBeforeIsFilled_data()
{
    addWindowColumn();
    QTest::addColumn<int>("terms");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("emptied");

    auto row = [](const char* window, int terms, const char* box, const char* emptied) {
        QTest::addRow("%s, %s with %s empty", window, box, emptied) << QString::fromLatin1(
            window) << terms << QString::fromLatin1(box) << QString::fromLatin1(emptied);
    };
    row("frmTM", 2, "txtG3", "txtZ2_0");
    row("frmTM", 2, "txtG3", "txtN2_1");
    row("frmTD", 5, "txtG3", "txtN2_4");
    row("frmTM", 3, "txtG4", "txtZ3");
    row("frmTD", 2, "txtG4", "txtHN3");
    row("frmTM", 4, "txtG5", "txtZ4");
    row("frmTD", 2, "txtG5", "txtHN4");
}

// The whole work area is opened, then one field of the row before the clicked box is emptied:
// the click closes exactly the next step, keeps every text and leaves the steps beyond alone.
void TestFrmMulDiv::equalsBoxOpensTheNextStepOnlyWhenTheRowBeforeIsFilled()
{
    QFETCH(QString, window);
    QFETCH(int, terms);
    QFETCH(QString, box);
    QFETCH(QString, emptied);
    QWidget* form = open(window);
    setTermCount(form, terms);
    click(form, "cbNeu");

    const QMap<QString, QStringList> nextStep {
        { "txtG3", { "txtZ3", "txtHN3", "L3", "txtG4" } },
        { "txtG4", { "txtZ4", "txtHN4", "L4", "L5", "L6", "txtG5" } },
        { "txtG5", { "txtZ5", "txtHN5", "L7", "L8", "L9", "txtGZ5" } },
    };
    const QStringList boxes { "txtG3", "txtG4", "txtG5" };

    for (int i = 0; i < terms; ++i) {
        QVERIFY(type(form, arrayMember("txtZ2", i), QString::number(i + 1)));
        QVERIFY(type(form, arrayMember("txtN2", i), QString::number(i + 2)));
    }
    const QStringList stepFields { "txtZ3", "txtHN3", "txtZ4", "txtHN4", "txtGZ5", "txtZ5",
        "txtHN5" };
    for (const QString& step : boxes) {
        click(form, step);
        QCOMPARE(field(form, step)->text(), QStringLiteral("="));
        for (const QString& control : nextStep[step])
            QVERIFY2(shown(form, control), qPrintable(control));
        for (const QString& stepField : stepFields) {
            if (shown(form, stepField) && field(form, stepField)->text().isEmpty())
                QVERIFY(type(form, stepField, QStringLiteral("7")));
        }
    }
    QMap<QString, QString> textsBefore;
    for (const QString& stepField : stepFields)
        textsBefore[stepField] = field(form, stepField)->text();

    const QString removed = field(form, emptied)->text();
    field(form, emptied)->clear();
    click(form, box);

    QVERIFY(field(form, box)->text().isEmpty());
    for (const QString& step : boxes) {
        const bool closed = step == box;
        for (const QString& control : nextStep[step])
            QVERIFY2(shown(form, control) == !closed, qPrintable(control));
        if (!closed)
            QCOMPARE(field(form, step)->text(), QStringLiteral("="));
    }
    for (const QString& stepField : stepFields) {
        if (stepField != emptied)
            QCOMPARE(field(form, stepField)->text(), textsBefore[stepField]);
    }

    // Filled in again, the same click brings the step back with the texts it had.
    field(form, emptied)->setText(removed);
    click(form, box);
    QCOMPARE(field(form, box)->text(), QStringLiteral("="));
    for (const QString& control : nextStep[box])
        QVERIFY2(shown(form, control), qPrintable(control));
    for (const QString& stepField : stepFields)
        QCOMPARE(field(form, stepField)->text(), textsBefore[stepField]);
}

void TestFrmMulDiv::rowTwoCountsOnlyTheCurrentTermCount_data()
{
    addWindowColumn();
    QTest::addColumn<int>("filledColumns");
    QTest::addColumn<int>("countAtClick");
    QTest::addColumn<bool>("opens");
    auto row = [](const char* tag, const char* window, int filled, int count, bool opens) {
        QTest::newRow(tag) << QString::fromLatin1(window) << filled << count << opens;
    };
    row("3 columns filled, 3 terms", "frmTM", 3, 3, true);
    row("2 columns filled, count lowered to 2", "frmTD", 2, 2, true);
    row("2 columns filled, 3 terms", "frmTM", 2, 3, false);
    row("3 columns filled, count raised to 4", "frmTD", 3, 4, false);
}

// The exercise has three terms; the click reads cbAG as it is then.
void TestFrmMulDiv::rowTwoCountsOnlyTheCurrentTermCount()
{
    QFETCH(QString, window);
    QFETCH(int, filledColumns);
    QFETCH(int, countAtClick);
    QFETCH(bool, opens);
    QWidget* form = open(window);
    setTermCount(form, 3);
    click(form, "cbNeu");
    for (int i = 0; i < filledColumns; ++i) {
        QVERIFY(type(form, arrayMember("txtZ2", i), QStringLiteral("1")));
        QVERIFY(type(form, arrayMember("txtN2", i), QStringLiteral("2")));
    }
    setTermCount(form, countAtClick);
    click(form, "txtG3");
    QCOMPARE(shown(form, "txtZ3"), opens);
    QCOMPARE(shown(form, "txtG4"), opens);
    QCOMPARE(field(form, "txtG3")->text(), opens ? QStringLiteral("=") : QString());
}

void TestFrmMulDiv::equalsBoxIgnoresATermCountOutsideTwoToEight_data()
{
    addWindowColumn();
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("box");
    auto row = [](const char* window, const char* count, const char* box) {
        QTest::addRow("%s, %s, cbAG %s", window, box, count) << QString::fromLatin1(
            window) << QString::fromLatin1(count) << QString::fromLatin1(box);
    };
    row("frmTM", "1", "txtG3");
    row("frmTD", "0", "txtG4");
    row("frmTM", "-3", "txtG5");
    row("frmTD", "1", "txtG5");
}

// Every step opened, row 2 to row 4 emptied again: with a term count outside 2..8 a click would
// close the next step, yet it changes nothing.
void TestFrmMulDiv::equalsBoxIgnoresATermCountOutsideTwoToEight()
{
    QFETCH(QString, window);
    QFETCH(QString, count);
    QFETCH(QString, box);
    QWidget* form = open(window);
    click(form, "cbNeu");
    for (int i = 0; i < 2; ++i) {
        QVERIFY(type(form, arrayMember("txtZ2", i), QStringLiteral("1")));
        QVERIFY(type(form, arrayMember("txtN2", i), QStringLiteral("2")));
    }
    click(form, "txtG3");
    QVERIFY(type(form, "txtZ3", QStringLiteral("1")));
    QVERIFY(type(form, "txtHN3", QStringLiteral("4")));
    click(form, "txtG4");
    QVERIFY(type(form, "txtZ4", QStringLiteral("1")));
    QVERIFY(type(form, "txtHN4", QStringLiteral("4")));
    click(form, "txtG5");
    for (const char* filled : { "txtZ2_0", "txtZ3", "txtZ4" })
        field(form, QString::fromLatin1(filled))->clear();

    control<QComboBox>(form, "cbAG")->setEditText(count);
    QCOMPARE(control<QComboBox>(form, "cbAG")->currentText(), count);
    click(form, box);

    for (const char* opened : { "txtZ3", "txtG4", "txtZ4", "txtG5", "txtGZ5", "L9" })
        QVERIFY2(shown(form, QString::fromLatin1(opened)), opened);
    for (const char* equals : { "txtG3", "txtG4", "txtG5" })
        QCOMPARE(field(form, QString::fromLatin1(equals))->text(), QStringLiteral("="));
}

QTEST_MAIN(TestFrmMulDiv)
#include "test_frm_muldiv.moc"
