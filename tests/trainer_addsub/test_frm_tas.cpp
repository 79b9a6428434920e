// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QtTest>

#include "mainwin/frm_pendro.h"
#include "tests/gui/gui_fixture.h"
#include "tests/reference_fraction.h"
#include "toolkit/line_control.h"
#include "toolkit/text_box.h"
#include "toolkit/twips.h"
#include "trainer_addsub/frm_tas.h"

using namespace pendro;
using pendro::testing::Fraction;
using pendro::testing::mixedAnswer;

namespace {

// One term of row 1 as texts: "+3/4", "-1/", "+3/5/5" (the denominator follows the last "/"),
// "1/4" (no operator).
struct Term
{
    QString sign, numerator, denominator;
};

Term parseTerm(const QString& text)
{
    const qsizetype signLength = text.startsWith('+') || text.startsWith('-') ? 1 : 0;
    const qsizetype slash = text.lastIndexOf('/');
    return { text.left(signLength), text.mid(signLength, slash - signLength), text.mid(slash + 1) };
}

// The sum worked out here, independently of the window.
Fraction exactSum(const std::vector<Term>& terms)
{
    Fraction sum;
    for (const Term& term : terms) {
        const std::int64_t denominator = term.denominator.toLongLong();
        const std::int64_t numerator = term.numerator.toLongLong() * (term.sign == "-" ? -1 : 1);
        const std::int64_t common = std::lcm(sum.denominator, denominator);
        sum.numerator
            = sum.numerator * (common / sum.denominator) + numerator * (common / denominator);
        sum.denominator = common;
        const std::int64_t divisor = std::gcd(sum.numerator, sum.denominator);
        sum.numerator /= divisor;
        sum.denominator /= divisor;
    }
    return sum;
}

// A clock that moves on with every reading, so that each run draws the same exercises.
RandomGenerator::Clock tickingClock()
{
    return [tick = std::uint64_t { 0 }]() mutable { return ++tick * 1000003; };
}

constexpr std::uint64_t FixedState = 0x1234'5678'9ABC'DEF0ULL;
const QStringList AnswerFields { "txtGZ5", "txtZ5", "txtHN5" };
const QStringList SolutionLabels { "lblEZ1", "lblEN1", "lblGZ", "lblEZ2", "lblEN2" };

} // namespace

class TestFrmTas : public QObject
{
    Q_OBJECT

private:
    TrainerCounters m_counters;
    std::unique_ptr<RandomGenerator> m_random;
    std::unique_ptr<frmPendro> m_main;
    QPointer<frmTAS> m_window;

    QWidget* control(const QString& name) const
    {
        return testing::control<QWidget>(m_window, name);
    }
    TextBox* box(const QString& name) const { return qobject_cast<TextBox*>(control(name)); }
    QString text(const QString& name) const
    {
        if (auto* label = qobject_cast<QLabel*>(control(name)))
            return label->text();
        return box(name)->text();
    }
    bool shown(const QString& name) const { return testing::shown(m_window, name); }
    static QString at(const char* name, int index) { return testing::arrayMember(name, index); }

    void openWindow()
    {
        m_window = new frmTAS(m_counters, *m_random, *m_main);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void setTermCount(int count)
    {
        auto* combo = qobject_cast<QComboBox*>(control("cbAG"));
        combo->setCurrentIndex(combo->findText(QString::number(count)));
    }
    void click(const QString& name)
    {
        QVERIFY2(shown(name), qPrintable(name));
        testing::click(m_window, name);
    }
    void doubleClick(const QString& name)
    {
        QVERIFY2(shown(name), qPrintable(name));
        testing::doubleClick(m_window, name);
    }
    // Types the text through the field's key rule; what cannot be typed (" 2") is set instead.
    void enter(const QString& name, const QString& value)
    {
        box(name)->clear();
        QTest::keyClicks(box(name), value);
        if (box(name)->text() != value)
            box(name)->setText(value);
    }
    void newExercise(int count)
    {
        setTermCount(count);
        click("cbNeu");
    }
    std::vector<Term> exercise(int count) const
    {
        std::vector<Term> terms;
        for (int i = 0; i < count; ++i)
            terms.push_back({ text(at("txtV1", i)), text(at("txtZ1", i)), text(at("txtN1", i)) });
        return terms;
    }
    void enterExercise(const QStringList& terms)
    {
        for (int i = 0; i < terms.size(); ++i) {
            const Term term = parseTerm(terms.at(i));
            enter(at("txtV1", i), term.sign);
            enter(at("txtZ1", i), term.numerator);
            enter(at("txtN1", i), term.denominator);
        }
    }
    // Fills rows 2 to 4 with placeholders and opens them with the "=" boxes, as a pupil does.
    void openAnswerRow(int count)
    {
        for (int i = 0; i < count; ++i) {
            enter(at("txtV2", i), "+");
            enter(at("txtZ2", i), "1");
        }
        enter("txtHN2", "1");
        for (const char* step : { "3", "4" }) {
            click(QStringLiteral("txtG") + step);
            enter(QStringLiteral("txtZ") + step, "1");
            enter(QStringLiteral("txtHN") + step, "1");
        }
        click("txtG5");
        QVERIFY(shown("txtGZ5"));
    }
    void enterAnswer(const QStringList& answer)
    {
        for (int i = 0; i < 3; ++i)
            enter(AnswerFields.at(i), answer.at(i));
    }
    void solve(int count)
    {
        const QStringList answer = mixedAnswer(exactSum(exercise(count)));
        openAnswerRow(count);
        enterAnswer(answer);
        click("cbP");
        QVERIFY(shown("cbNeu"));
    }

    void verifySolution(const Fraction& expected) const
    {
        const QStringList mixed = mixedAnswer(expected);
        const QStringList solution { QString::number(expected.numerator),
            QString::number(expected.denominator), mixed.at(0), mixed.at(1), mixed.at(2) };
        for (int i = 0; i < SolutionLabels.size(); ++i) {
            QCOMPARE(text(SolutionLabels.at(i)), solution.at(i));
            QVERIFY(shown(SolutionLabels.at(i)));
        }
        QCOMPARE(text("lblG6"), QStringLiteral("="));
        for (int n = 10; n <= 15; ++n)
            QVERIFY(shown(QStringLiteral("L%1").arg(n)));
    }
    void verifyCounters(int attempts, int correct) const
    {
        QCOMPARE(text("lblVersuche"), QString::number(attempts));
        QCOMPARE(text("lblGut"), QString::number(correct));
        QCOMPARE(
            text("lblVT"), attempts == 1 ? QStringLiteral("Versuch") : QStringLiteral("Versuche"));
    }
    void verifyMainWindowEmpty() const
    {
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(m_main->numberText(i), QString());
            QCOMPARE(m_main->findChild<QLineEdit*>(at("txtPF1", i))->text(), QString());
        }
        QCOMPARE(m_main->kgvCaption(), QString());
        QCOMPARE(m_main->ggtCaption(), QString());
    }
    // No caption or field of either window may show an infinite or undefined value.
    void verifyOnlyNumbers() const
    {
        for (const QWidget* window : std::array<const QWidget*, 2> { m_window, m_main.get() }) {
            QStringList texts;
            for (const QLabel* label : window->findChildren<QLabel*>())
                texts << label->text();
            for (const QLineEdit* field : window->findChildren<QLineEdit*>())
                texts << field->text();
            for (const QString& shownText : texts) {
                QVERIFY2(!shownText.contains("inf", Qt::CaseInsensitive)
                        && !shownText.contains("nan", Qt::CaseInsensitive),
                    qPrintable(shownText));
            }
        }
    }

private slots:
    void init()
    {
        m_counters = {};
        m_random = std::make_unique<RandomGenerator>(tickingClock(), FixedState);
        m_main = std::make_unique<frmPendro>();
        m_main->show();
        openWindow();
    }

    void cleanup()
    {
        delete m_window.data();
        m_main.reset();
    }

    void checkShowsTheSolutionAndJudgesTheTextExactly_data()
    {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<int>("checkCount"); // cbAG at the check; 0: all terms
        QTest::addColumn<QStringList>("answer");
        QTest::addColumn<bool>("correct");
        QTest::addColumn<QString>("decimal"); // empty: not compared

        auto row = [](const char* tag, QStringList terms, QStringList answer, bool correct,
                       const char* decimal = "", int checkCount = 0) {
            QTest::newRow(tag) << terms << checkCount << answer << correct
                               << QString::fromUtf8(decimal);
        };
        row("1/2 + 1/3", { "+1/2", "+1/3" }, { "", "5", "6" }, true, "0,83333333333333");
        row("-3/4 - 1/2", { "-3/4", "-1/2" }, { "-1", "1", "4" }, true, "-1,25");
        row("3/4 + 5/4", { "+3/4", "+5/4" }, { "2", "", "" }, true, "2,");
        row("1/6 - 1/3", { "+1/6", "-1/3" }, { "", "-1", "6" }, true, "-0,16666666666667");
        row("1/2 - 1/2", { "+1/2", "-1/2" }, { "", "0", "1" }, true, "0,");
        row("-7/6 truncates toward zero", { "-1/2", "-2/3" }, { "-1", "1", "6" }, true,
            "-1,16666666666667");
        row("negative whole", { "-3/1", "-6/2" }, { "-6", "", "" }, true, "-6,");
        row("count lowered to 2", { "+1/2", "+1/3", "+1/5" }, { "", "5", "6" }, true, "", 2);
        // Texts must match character for character.
        row("plus sign", { "+3/4", "+5/4" }, { "+2", "", "" }, false);
        row("leading zero", { "+3/4", "+5/4" }, { "02", "", "" }, false);
        row("leading blank", { "+3/4", "+5/4" }, { " 2", "", "" }, false);
        row("whole with remainder 0/1", { "+3/4", "+5/4" }, { "2", "0", "1" }, false);
        row("unreduced", { "+1/6", "-1/3" }, { "", "-2", "12" }, false);
        row("improper", { "-3/4", "-1/2" }, { "", "-5", "4" }, false);
        row("signed remainder", { "-3/4", "-1/2" }, { "-1", "-1", "4" }, false);
        // Beyond the main window's 131072: exact all the same.
        row("denominators 997 991 983", { "+1/997", "+1/991", "+1/983" },
            { "", "2942231", "971230541" }, true);
        row("mixed signs over 997 991 983", { "+5/997", "-3/991", "+7/983" },
            { "", "8846801", "971230541" }, true);
        row("whole over 997 991 983", { "+997/997", "+991/991", "+983/983" }, { "3", "", "" }, true,
            "3,");
        row("16-digit common denominator", { "+1/131071", "+1/131063", "+1/131059" },
            { "", "51533578379", "2251404694912907" }, true);
        row("16-digit common denominator, whole",
            { "+131071/131071", "-131063/131063", "+131059/131059" }, { "1", "", "" }, true);
        row("mixed number above 131072", { "+200001/2", "+0/1" }, { "100000", "1", "2" }, true,
            "100000,5");
        row("whole beyond 32 bits", { "+2147483647/1", "+2147483647/1" }, { "4294967294", "", "" },
            true);
        row("products beyond 64 bits that cancel",
            { "+2147483647/1", "-2147483647/1", "+1/4194301", "+1/2147483647" },
            { "", "2151677948", "9007192808095747" }, true);
    }

    void checkShowsTheSolutionAndJudgesTheTextExactly()
    {
        QFETCH(QStringList, terms);
        QFETCH(int, checkCount);
        QFETCH(QStringList, answer);
        QFETCH(bool, correct);
        QFETCH(QString, decimal);

        const int count = checkCount ? checkCount : static_cast<int>(terms.size());
        newExercise(static_cast<int>(terms.size()));
        enterExercise(terms);
        setTermCount(count);
        openAnswerRow(count);
        enterAnswer(answer);
        click("cbP");

        verifySolution(exactSum(exercise(count)));
        if (!decimal.isEmpty())
            QCOMPARE(text("lblEDB"), decimal);
        verifyCounters(1, correct ? 1 : 0);
        QCOMPARE(text("lblVon"), QStringLiteral("1"));
        QCOMPARE(shown("cbNeu"), correct);
        QCOMPARE(shown("cbP"), !correct);
        verifyMainWindowEmpty();
    }

    void aCorrectedAnswerCountsAsTheSecondAttempt()
    {
        newExercise(2);
        enterExercise({ "+1/2", "+1/3" });
        openAnswerRow(2);
        enterAnswer({ "", "2", "5" });
        click("cbP");
        enterAnswer({ "", "5", "6" });
        click("cbP");
        verifyCounters(2, 1);
    }

    void aFreshWindowChecksTypedFractionsWithEmptyOperatorsAsPlus()
    {
        enterExercise({ "1/4", "1/4" });
        click("cbP");
        QCOMPARE(text("lblEZ1"), QStringLiteral("1"));
        QCOMPARE(text("lblEN1"), QStringLiteral("2"));
        QCOMPARE(text("lblEDB"), QStringLiteral("0,5"));
        verifyCounters(1, 0);
    }

    void failuresEndTheCheckSilently_data()
    {
        QTest::addColumn<QStringList>("terms"); // none: the fresh window's empty fields
        QTest::addColumn<int>("checkCount");
        QTest::addColumn<QStringList>("mainNumbers"); // txtZ1(0), txtZ1(1) of the main window

        QTest::newRow("fresh window") << QStringList {} << 2 << QStringList { "", "" };
        // Each denominator reaches the main window before its numerator is read.
        QTest::newRow("emptied numerator")
            << QStringList { "+/4", "+3/5" } << 2 << QStringList { "4", "" };
        QTest::newRow("numerator with slash")
            << QStringList { "+1/4", "+3/5/5" } << 2 << QStringList { "4", "5" };
        QTest::newRow("emptied denominator")
            << QStringList { "+1/", "+3/5" } << 2 << QStringList { "", "" };
        QTest::newRow("count raised above the exercise")
            << QStringList { "+1/4", "+3/5" } << 3 << QStringList { "4", "5" };
        QTest::newRow("numerator beyond 32 bits")
            << QStringList { "+1/4", "+2147483648/5" } << 2 << QStringList { "4", "5" };
        // HNBerechnen empties a "0" before the division by it fails.
        QTest::newRow("denominator 0")
            << QStringList { "+1/4", "+3/0" } << 2 << QStringList { "4", "" };
        QTest::newRow("zero over zero")
            << QStringList { "+0/0", "+3/5" } << 2 << QStringList { "", "5" };
        QTest::newRow("every denominator 0")
            << QStringList { "+1/0", "-3/0" } << 2 << QStringList { "", "" };
        QTest::newRow("common denominator above 2^53") << QStringList { "+1/2147483647",
            "+1/2147483629", "+1/2147483587" } << 3 << QStringList {};
        QTest::newRow("numerator above 2^53")
            << QStringList { "+2147483647/1", "+1/2147483629" } << 2 << QStringList {};
        // The remainder of the mixed form is worked out in 32 bits.
        QTest::newRow("mixed remainder beyond 32 bits")
            << QStringList { "+2147483647/1", "+2147483647/1", "+1/2" } << 3 << QStringList {};
    }

    void failuresEndTheCheckSilently()
    {
        QFETCH(QStringList, terms);
        QFETCH(int, checkCount);
        QFETCH(QStringList, mainNumbers);

        if (!terms.isEmpty()) {
            newExercise(static_cast<int>(terms.size()));
            enterExercise(terms);
            openAnswerRow(static_cast<int>(terms.size()));
            setTermCount(checkCount);
        }
        click("cbP");

        verifyCounters(0, 0);
        QVERIFY(shown("cbP"));
        QCOMPARE(text("lblEDB"), QString());
        for (int i = 0; i < mainNumbers.size(); ++i)
            QCOMPARE(m_main->numberText(i), mainNumbers.at(i));
        verifyOnlyNumbers();
    }

    // Many generated exercises: the layout of each, the values drawn, and the check against the
    // independent sum with the correct answer typed (every seventh after a wrong one).
    void generatedExercisesAreLaidOutDrawnAndCheckedSoundly()
    {
        constexpr int Exercises = 300;
        constexpr std::array<double, 4> barEnds { 2640, 3840, 5040, 6240 };
        constexpr std::array<double, 4> denominatorLefts { 352.5, 952.5, 1552.5, 2152.5 };
        std::array<int, 11> numerators {}, denominators {};
        int minus = 0, terms = 0;
        for (int n = 0; n < Exercises && !QTest::currentTestFailed(); ++n) {
            const int count = 2 + n % 4; // after five terms come two
            newExercise(count);

            for (int i = 0; i < 8; ++i) {
                for (const char* name : { "txtV1", "txtZ1", "txtN1", "L1", "txtV2", "txtZ2" })
                    QCOMPARE(shown(at(name, i)), i < count);
                for (const char* name : { "txtV1", "txtZ1", "txtN1" })
                    QCOMPARE(text(at(name, i)).isEmpty(), i >= count);
                QVERIFY(text(at("txtZ2", i)).isEmpty());
            }
            auto* bar = qobject_cast<Line*>(control("L2"));
            QVERIFY(bar->isVisible());
            QCOMPARE(bar->x1(), 360.0);
            QCOMPARE(bar->x2(), barEnds.at(count - 2));
            QCOMPARE(twipsGeometry(control("txtHN2")).left, denominatorLefts.at(count - 2));
            QCOMPARE(text("txtG2"), QStringLiteral("="));
            QVERIFY(shown("txtG3") && text("txtG3").isEmpty() && !shown("txtZ3"));
            QCOMPARE(m_window->focusWidget(), control("txtV2_0"));
            QVERIFY(!shown("cbNeu") && shown("cbP"));

            for (const Term& term : exercise(count)) {
                QVERIFY(term.sign == "+" || term.sign == "-");
                const int numerator = term.numerator.toInt();
                const int denominator = term.denominator.toInt();
                QVERIFY(numerator >= 1 && numerator <= 10 && denominator >= 1 && denominator <= 10);
                ++numerators.at(numerator);
                ++denominators.at(denominator);
                minus += term.sign == "-";
                ++terms;
            }

            const Fraction expected = exactSum(exercise(count));
            openAnswerRow(count);
            if (n % 7 == 0) {
                enterAnswer({ "99", "", "" });
                click("cbP");
                QVERIFY(!shown("cbNeu"));
            }
            enterAnswer(mixedAnswer(expected));
            click("cbP");
            verifySolution(expected);
            QCOMPARE(text("lblGut"), QString::number(n + 1));
            const double decimal = text("lblEDB").replace(',', '.').toDouble();
            const double exact = double(expected.numerator) / double(expected.denominator);
            QVERIFY2(std::abs(decimal - exact) < 1e-13 * std::max(1.0, std::abs(exact)),
                qPrintable(text("lblEDB")));
        }
        for (int value = 1; value <= 10; ++value)
            QVERIFY(numerators.at(value) > 0 && denominators.at(value) > 0);
        QVERIFY2(minus > terms * 45 / 100 && minus < terms * 55 / 100,
            qPrintable(QString::number(minus)));
        QCOMPARE(text("lblVon"), QString::number(Exercises));
        QCOMPARE(text("lblVersuche"), QString::number(Exercises + (Exercises + 6) / 7));
    }

    void theFirstTermIsMinusAboutHalfTheTime()
    {
        int firstMinus = 0;
        for (int n = 0; n < 200; ++n) {
            click("cbClear");
            newExercise(2);
            firstMinus += text("txtV1_0") == "-";
        }
        QVERIFY2(firstMinus > 80 && firstMinus < 120, qPrintable(QString::number(firstMinus)));
    }

    // Sign, numerator and denominator of each term in turn, each drawn right after a re-seed.
    void termsAreDrawnInOrderEachAfterAReseed()
    {
        RandomGenerator replay(tickingClock(), FixedState);
        replay.reseedFromClock(); // Form_Load
        replay.draw();
        replay.reseedFromClock(); // "Neue Aufgabe", before its draws
        auto draw = [&replay] {
            replay.reseedFromClock();
            return replay.draw();
        };
        newExercise(5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(
                text(at("txtV1", i)), draw() < 0.5f ? QStringLiteral("+") : QStringLiteral("-"));
            QCOMPARE(text(at("txtZ1", i)), QString::number(int(draw() * 10.0f + 1.0f)));
            QCOMPARE(text(at("txtN1", i)), QString::number(int(draw() * 10.0f + 1.0f)));
        }
    }

    void countersCountEachStepAndOutliveTheWindow()
    {
        for (int n = 1; n <= 3; ++n) {
            newExercise(2);
            QCOMPARE(text("lblVon"), QString::number(n));
            verifyCounters(n - 1, n - 1);
            solve(2);
            verifyCounters(n, n);
        }
        m_window->close();
        QTRY_VERIFY(m_window.isNull());
        openWindow();
        QCOMPARE(text("lblVon"), QStringLiteral("3"));
        newExercise(2);
        QCOMPARE(text("lblVon"), QStringLiteral("4"));
    }

    void equalsBoxesOpenOnlyFilledSteps_data()
    {
        QTest::addColumn<QString>("equalsBox");
        QTest::addColumn<QString>("emptied"); // a field of the step before, or none
        QTest::addColumn<bool>("opens");

        QTest::newRow("G3, zeros everywhere") << "txtG3"
                                              << "" << true;
        QTest::newRow("G3 without common denominator") << "txtG3"
                                                       << "txtHN2" << false;
        QTest::newRow("G3 without first numerator") << "txtG3"
                                                    << "txtZ2_0" << false;
        QTest::newRow("G3 without third operator") << "txtG3"
                                                   << "txtV2_2" << false;
        QTest::newRow("G4, zeros everywhere") << "txtG4"
                                              << "" << true;
        QTest::newRow("G4 without numerator") << "txtG4"
                                              << "txtZ3" << false;
        QTest::newRow("G4 without denominator") << "txtG4"
                                                << "txtHN3" << false;
        QTest::newRow("G5, zeros everywhere") << "txtG5"
                                              << "" << true;
        QTest::newRow("G5 without numerator") << "txtG5"
                                              << "txtZ4" << false;
        QTest::newRow("G5 without denominator") << "txtG5"
                                                << "txtHN4" << false;
    }

    void equalsBoxesOpenOnlyFilledSteps()
    {
        QFETCH(QString, equalsBox);
        QFETCH(QString, emptied);
        QFETCH(bool, opens);

        const QMap<QString, QStringList> steps {
            { "txtG3", { "txtZ3", "txtHN3", "L3", "txtG4" } },
            { "txtG4", { "txtZ4", "txtHN4", "L4", "L5", "L6", "txtG5" } },
            { "txtG5", { "txtZ5", "txtHN5", "L7", "L8", "L9", "txtGZ5" } },
        };
        newExercise(3);
        for (int i = 0; i < 3; ++i) {
            enter(at("txtV2", i), "-");
            enter(at("txtZ2", i), "0");
        }
        enter("txtHN2", "0");
        for (const char* step : { "3", "4" }) {
            click(QStringLiteral("txtG") + step);
            enter(QStringLiteral("txtZ") + step, "0");
            enter(QStringLiteral("txtHN") + step, "0");
        }
        click("txtG5");
        if (!emptied.isEmpty())
            box(emptied)->clear();
        click(equalsBox);

        QCOMPARE(text(equalsBox), opens ? QStringLiteral("=") : QString());
        for (auto step = steps.cbegin(); step != steps.cend(); ++step) {
            // Closing a step leaves the others as they were, further right ones included.
            for (const QString& name : step.value())
                QVERIFY2(shown(name) == (step.key() != equalsBox || opens), qPrintable(name));
        }
        if (equalsBox != "txtG5")
            QCOMPARE(text(steps.value(equalsBox).first()), QStringLiteral("0"));
    }

    void row3OpensOnlyWhenEveryTermOfRow2IsFilled()
    {
        newExercise(3);
        click("txtG3");
        QVERIFY(text("txtG3").isEmpty() && !shown("txtZ3") && !shown("txtG4"));
        for (int i = 0; i < 3; ++i)
            enter(at("txtZ2", i), "7");
        enter("txtV2_0", "+");
        enter("txtV2_1", "+");
        enter("txtHN2", "7");
        click("txtG3");
        QVERIFY(!shown("txtZ3"));
        enter("txtV2_2", "-");
        click("txtG3");
        QCOMPARE(text("txtG3"), QStringLiteral("="));
        QVERIFY(
            shown("txtZ3") && shown("txtHN3") && shown("L3") && shown("txtG4") && !shown("txtZ4"));
    }

    void doubleClickOnAnEmptyFirstEqualsBoxRestoresIt()
    {
        newExercise(2);
        QTest::keyClick(box("txtG2"), Qt::Key_Backspace);
        QVERIFY(text("txtG2").isEmpty() && !shown("txtG3"));
        doubleClick("txtG2");
        QCOMPARE(text("txtG2"), QStringLiteral("="));
        QVERIFY(shown("txtG3"));
        control("txtG3")->hide();
        doubleClick("txtG2"); // holds "=": nothing happens
        QVERIFY(!shown("txtG3"));
    }

    void operatorDoubleClickFollowsTheTable_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("term"); // 1 shown, 0 hidden, -1 unchanged

        QTest::newRow("k0 empty") << 0 << ""
                                  << "+" << -1;
        QTest::newRow("k0 plus") << 0 << "+"
                                 << "-" << -1;
        QTest::newRow("k0 minus") << 0 << "-"
                                  << "+" << -1;
        QTest::newRow("k1 minus") << 1 << "-"
                                  << "+" << -1;
        QTest::newRow("k1 unknown =") << 1 << "="
                                      << "=" << -1;
        QTest::newRow("k2 empty") << 2 << ""
                                  << "=" << 0;
        QTest::newRow("k2 equals") << 2 << "="
                                   << "+" << 1;
        QTest::newRow("k2 plus") << 2 << "+"
                                 << "-" << 1;
        QTest::newRow("k2 minus") << 2 << "-"
                                  << "" << 0;
        QTest::newRow("k2 unknown *") << 2 << "*"
                                      << "*" << -1;
        QTest::newRow("k2 unknown +-") << 2 << "+-"
                                       << "+-" << -1;
        QTest::newRow("k4 empty") << 4 << ""
                                  << "=" << 0;
        QTest::newRow("k6 equals") << 6 << "="
                                   << "+" << 1;
        QTest::newRow("k6 minus") << 6 << "-"
                                  << "" << 0;
    }

    void operatorDoubleClickFollowsTheTable()
    {
        QFETCH(int, k);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, term);

        newExercise(5);
        // The term and the next operator field start opposite to where the click takes them.
        const bool shownBefore = term != 1;
        const QStringList termControls { at("txtZ1", k), at("txtN1", k), at("L1", k),
            at("txtV1", k + 1) };
        for (const QString& name : termControls)
            control(name)->setVisible(shownBefore);
        box(at("txtV1", k + 1))->setText("+");
        control(at("txtV1", k))->show();
        box(at("txtV1", k))->setText(before);
        const QString row2 = text(at("txtV2", k));

        doubleClick(at("txtV1", k));

        QCOMPARE(text(at("txtV1", k)), after);
        for (const QString& name : termControls)
            QCOMPARE(shown(name), term == -1 ? shownBefore : term == 1);
        QCOMPARE(text(at("txtV1", k + 1)), term == -1 ? QStringLiteral("+") : QString());
        QCOMPARE(text(at("txtV2", k)), row2);
        QCOMPARE(qobject_cast<QComboBox*>(control("cbAG"))->currentText(), QStringLiteral("5"));
    }

    void thirdOperatorTakesATermOutAndBackIn()
    {
        newExercise(3);
        enterExercise({ "+1/4", "+1/6", "+1/10" });
        doubleClick("txtV1_2");
        QCOMPARE(text("txtV1_2"), QStringLiteral("-"));
        QVERIFY(shown("txtV1_3") && text("txtV1_3").isEmpty());

        doubleClick("txtV1_3");
        QCOMPARE(text("txtV1_3"), QStringLiteral("="));
        QVERIFY(!shown("txtZ1_3") && !shown("txtN1_3") && !shown("L1_3") && !shown("txtV1_4"));
        const QStringList numbers { "4", "6", "10", "" };
        for (int i = 0; i < numbers.size(); ++i)
            QCOMPARE(m_main->numberText(i), numbers.at(i));
        QCOMPARE(m_main->findChild<QLineEdit*>("txtPF1_0")->text(), QStringLiteral("2 * 2"));
        QCOMPARE(m_main->ggtCaption(), QStringLiteral("2"));
        QCOMPARE(text("lblEN1"), QStringLiteral("60"));
        QCOMPARE(m_main->kgvCaption(), QStringLiteral("60"));

        doubleClick("txtV1_3");
        QCOMPARE(text("txtV1_3"), QStringLiteral("+"));
        for (const char* name : { "txtZ1_3", "txtN1_3", "L1_3", "txtV1_4" })
            QVERIFY2(shown(name) && (QString(name).startsWith("L") || text(name).isEmpty()), name);
        doubleClick("txtV1_3");
        doubleClick("txtV1_3");
        QVERIFY(text("txtV1_3").isEmpty() && !shown("txtZ1_3") && !shown("txtV1_4"));
        QCOMPARE(qobject_cast<QComboBox*>(control("cbAG"))->currentText(), QStringLiteral("3"));
    }

    void commonDenominatorTakesHiddenTermsAndKeepsOtherMainFields()
    {
        newExercise(3);
        enterExercise({ "+1/4", "+1/6", "-1/10" });
        m_main->setNumberText(3, "9");
        m_main->setNumberText(6, "77");
        doubleClick("txtV1_2"); // "-" -> empty: term 2 hidden
        doubleClick("txtV1_2"); // empty -> "="
        QCOMPARE(m_main->numberText(2), QStringLiteral("10"));
        QCOMPARE(m_main->numberText(3), QStringLiteral("9"));
        QCOMPARE(m_main->numberText(6), QStringLiteral("77"));
        QCOMPARE(text("lblEN1"), QStringLiteral("13860"));
        QVERIFY(!shown("lblEN1"));
    }

    void anEmptiedOperatorInsideTheExerciseCountsAsPlus()
    {
        newExercise(4);
        enterExercise({ "+1/2", "+1/3", "+1/4", "-1/5" });
        doubleClick("txtV1_2");
        QCOMPARE(text("txtV1_2"), QStringLiteral("-"));
        QVERIFY(shown("txtV1_3") && text("txtV1_3").isEmpty());
        openAnswerRow(4);
        enterAnswer({ "", "47", "60" }); // 1/2 + 1/3 - 1/4 + 1/5
        click("cbP");
        verifyCounters(1, 1);
    }

    void hidingAMinusTermKeepsTheNextTermsFractionVisible()
    {
        newExercise(5);
        enterExercise({ "+1/2", "+1/3", "-1/4", "+1/5", "+1/6" });
        doubleClick("txtV1_2");
        QVERIFY(text("txtV1_2").isEmpty() && !shown("txtZ1_2") && !text("txtZ1_2").isEmpty());
        QVERIFY(!shown("txtV1_3") && text("txtV1_3").isEmpty());
        QVERIFY(shown("txtZ1_3") && shown("txtN1_3"));
    }

    void theLastOperatorHasNoNextField()
    {
        newExercise(5);
        enter("txtV1_4", "+");
        doubleClick("txtV1_4"); // "-": opens txtV1_5
        for (const char* name : { "txtV1_5", "txtV1_5", "txtV1_6", "txtV1_6" })
            doubleClick(name); // "=", then "+": opens the next operator field
        QStringList operators;
        for (int k = 0; k < 7; ++k)
            operators << text(at("txtV1", k));
        doubleClick("txtV1_7");
        QCOMPARE(text("txtV1_7"), QStringLiteral("="));
        doubleClick("txtV1_7");
        QCOMPARE(text("txtV1_7"), QStringLiteral("+"));
        QVERIFY(shown("txtZ1_7") && shown("txtN1_7") && shown("L1_7"));
        for (int k = 0; k < 7; ++k)
            QCOMPARE(text(at("txtV1", k)), operators.at(k));
    }
};

QTEST_MAIN(TestFrmTas)
#include "test_frm_tas.moc"
