// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exercises.h"
#include "core/number_text.h"
#include "core/prime_table.h"
#include "core/solutions.h"

#include <QtTest>

#include <numeric>
#include <set>
#include <vector>

#include "tests/reference_factorization.h"
#include "tests/reference_fraction.h"

using namespace pendro;

Q_DECLARE_METATYPE(pendro::FractionExercise)
Q_DECLARE_METATYPE(pendro::FractionOperation)
Q_DECLARE_METATYPE(std::vector<std::int32_t>)

namespace {

// A generator whose clock stands still, as a worksheet's.
RandomGenerator sheetGenerator(std::uint64_t state)
{
    return RandomGenerator([] { return std::uint64_t { 0 }; }, state);
}

FractionExercise exercise(FractionOperation operation, std::vector<FractionTerm> terms)
{
    return { operation, std::move(terms) };
}

constexpr auto Sum = FractionOperation::Sum;
constexpr auto Product = FractionOperation::Product;
constexpr auto Quotient = FractionOperation::Quotient;

} // namespace

class TestExercises : public QObject
{
    Q_OBJECT

private slots:
    // The one-line solutions that scripts read, for the cases a pupil meets.
    void fractionSolutionLines_data()
    {
        QTest::addColumn<FractionExercise>("exercise");
        QTest::addColumn<QString>("line");
        auto row = [](const char* tag, FractionExercise given, const char* line) {
            QTest::newRow(tag) << given << QString::fromLatin1(line);
        };
        row("improper product", exercise(Product, { { false, 5, 6 }, { false, 9, 4 } }),
            "1. 5/6 * 9/4 = 15/8 = 1 7/8");
        row("whole product", exercise(Product, { { false, 4, 3 }, { false, 3, 2 } }),
            "1. 4/3 * 3/2 = 2");
        row("negative divisor", exercise(Quotient, { { false, 1, 2 }, { false, -3, 4 } }),
            "1. 1/2 : -3/4 = -2/3");
        row("negative improper quotient", exercise(Quotient, { { false, 7, 1 }, { false, -2, 1 } }),
            "1. 7/1 : -2/1 = -7/2 = -3 1/2");
        row("difference", exercise(Sum, { { false, 1, 2 }, { true, 1, 3 } }), "1. 1/2 - 1/3 = 1/6");
        row("sum opening with minus", exercise(Sum, { { true, 3, 4 }, { true, 1, 2 } }),
            "1. -3/4 - 1/2 = -5/4 = -1 1/4");
        row("sum to nothing", exercise(Sum, { { false, 1, 2 }, { true, 1, 2 } }),
            "1. 1/2 - 1/2 = 0");
        row("whole negative sum", exercise(Sum, { { true, 3, 4 }, { true, 5, 4 } }),
            "1. -3/4 - 5/4 = -2");
        row("five terms",
            exercise(Product,
                { { false, 9, 2 }, { false, 9, 1 }, { false, 9, 1 }, { false, 9, 1 },
                    { false, 9, 1 } }),
            "1. 9/2 * 9/1 * 9/1 * 9/1 * 9/1 = 59049/2 = 29524 1/2");
        row("divisor 0 has no value", exercise(Quotient, { { false, 1, 2 }, { false, 0, 3 } }),
            "1. 1/2 : 0/3 = ?");
        row("denominator 0 has no value", exercise(Sum, { { false, 1, 0 }, { false, 1, 2 } }),
            "1. 1/0 + 1/2 = ?");
    }
    void fractionSolutionLines()
    {
        QFETCH(FractionExercise, exercise);
        QFETCH(QString, line);
        QCOMPARE(QString::fromStdString(solutionLine(1, exercise)), line);
    }

    void numberSolutionLines_data()
    {
        QTest::addColumn<std::vector<std::int32_t>>("numbers");
        QTest::addColumn<QString>("line");
        QTest::newRow("360") << std::vector<std::int32_t> { 360 } << "3. 360 = 2^3 * 3^2 * 5";
        QTest::newRow("a power of 2") << std::vector<std::int32_t> { 1024 } << "3. 1024 = 2^10";
        QTest::newRow("two primes") << std::vector<std::int32_t> { 9991 } << "3. 9991 = 97 * 103";
        QTest::newRow("10000") << std::vector<std::int32_t> { 10000 } << "3. 10000 = 2^4 * 5^4";
        QTest::newRow("ggT 12, 18")
            << std::vector<std::int32_t> { 12, 18 } << "3. ggT(12, 18) = 6; kgV(12, 18) = 36";
        QTest::newRow("three coprime") << std::vector<std::int32_t> { 4, 9, 25 }
                                       << "3. ggT(4, 9, 25) = 1; kgV(4, 9, 25) = 900";
        QTest::newRow("three with ggT 6") << std::vector<std::int32_t> { 12, 18, 30 }
                                          << "3. ggT(12, 18, 30) = 6; kgV(12, 18, 30) = 180";
        QTest::newRow("large kgV") << std::vector<std::int32_t> { 9973, 9967, 9949 }
                                   << "3. ggT(9973, 9967, 9949) = 1; kgV(9973, 9967, 9949) = "
                                      "988939464559";
    }
    void numberSolutionLines()
    {
        QFETCH(std::vector<std::int32_t>, numbers);
        QFETCH(QString, line);
        const std::string written
            = numbers.size() == 1 ? factorizationLine(3, numbers[0]) : ggtAndKgvLine(3, numbers);
        QCOMPARE(QString::fromStdString(written), line);
    }

    // Every drawn exercise, solved, against plain integer arithmetic of the tests' own: the
    // reduced fraction, the answer a pupil types and the decimal value.
    void solutionsMatchExactArithmetic_data()
    {
        QTest::addColumn<FractionOperation>("operation");
        QTest::addColumn<int>("terms");
        QTest::addColumn<bool>("negative");
        for (int terms = 2; terms <= 5; ++terms) {
            QTest::addRow("sum of %d", terms) << Sum << terms << false;
            QTest::addRow("product of %d", terms) << Product << terms << false;
            QTest::addRow("quotient of %d", terms) << Quotient << terms << false;
            QTest::addRow("product of %d, negative", terms) << Product << terms << true;
            QTest::addRow("quotient of %d, negative", terms) << Quotient << terms << true;
        }
    }
    void solutionsMatchExactArithmetic()
    {
        QFETCH(FractionOperation, operation);
        QFETCH(int, terms);
        QFETCH(bool, negative);
        for (std::uint64_t seed = 1; seed <= 400; ++seed) {
            RandomGenerator random = sheetGenerator(seed);
            const FractionSettings settings { terms, 10, 10, negative };
            const FractionExercise drawn = operation == Sum
                ? drawSum(random, settings)
                : drawChain(random, operation, settings);
            QCOMPARE(int(drawn.terms.size()), terms);

            testing::Fraction expected { 0, 1 };
            for (std::size_t i = 0; i < drawn.terms.size(); ++i) {
                const FractionTerm& term = drawn.terms[i];
                QVERIFY(term.denominator >= 1 && term.denominator <= 10);
                QVERIFY(std::abs(term.numerator) >= 1 && std::abs(term.numerator) <= 10);
                QVERIFY(negative || term.numerator > 0);
                QVERIFY(operation == Sum || !term.minus);
                const std::int64_t sign = term.minus ? -1 : 1;
                if (operation == Sum)
                    expected = testing::reduced(expected.numerator * term.denominator
                            + sign * term.numerator * expected.denominator,
                        expected.denominator * term.denominator);
                else if (i == 0)
                    expected = testing::reduced(term.numerator, term.denominator);
                else if (operation == Product)
                    expected = testing::reduced(expected.numerator * term.numerator,
                        expected.denominator * term.denominator);
                else
                    expected = testing::reduced(expected.numerator * term.denominator,
                        expected.denominator * term.numerator);
            }

            const std::optional<FractionSolution> solution = solveFractionExercise(drawn);
            QVERIFY(solution);
            QCOMPARE(solution->numerator, expected.numerator);
            QCOMPARE(solution->denominator, expected.denominator);
            const MixedNumber& mixed = solution->mixed;
            const QStringList answer {
                mixed.whole ? QString::number(*mixed.whole) : QString(),
                mixed.restNumerator ? QString::number(*mixed.restNumerator) : QString(),
                mixed.restNumerator ? QString::number(mixed.restDenominator) : QString(),
            };
            QCOMPARE(answer, testing::mixedAnswer(expected));
            // Rounded to 14 places, "2," for a whole value.
            const QString decimal = QString::fromStdString(solution->decimal);
            const double value = double(expected.numerator) / double(expected.denominator);
            if (expected.denominator == 1)
                QCOMPARE(decimal, QString::number(expected.numerator) + QLatin1Char(','));
            else
                QVERIFY2(
                    std::abs(QString(decimal).replace(QLatin1Char(','), QLatin1Char('.')).toDouble()
                        - value)
                        < 1e-13 * std::max(1.0, std::abs(value)),
                    qPrintable(decimal));
        }
    }

    // Numbers to factorize: composite, within the range, none twice on a sheet.
    void compositeNumbersStayInTheirRange_data()
    {
        QTest::addColumn<int>("range");
        for (const int range : NumberRanges)
            QTest::addRow("up to %d", range) << range;
    }
    void compositeNumbersStayInTheirRange()
    {
        QFETCH(int, range);
        for (std::uint64_t seed = 1; seed <= 200; ++seed) {
            RandomGenerator random = sheetGenerator(seed);
            const std::vector<std::int32_t> numbers = drawCompositeNumbers(random, range, 30);
            QCOMPARE(numbers.size(), std::size_t { 30 });
            QCOMPARE(std::set<std::int32_t>(numbers.begin(), numbers.end()).size(), numbers.size());
            for (const std::int32_t number : numbers) {
                QVERIFY(number >= 4 && number <= range);
                QVERIFY2(!IsPrime(number), qPrintable(QString::number(number)));
            }
        }
    }

    // Groups for ggT and kgV: different composite numbers in range that share a factor far more
    // often than numbers drawn alone do, and still have ggT 1 now and then.
    void numberGroupsShareFactorsMoreOftenThanChance_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("size");
        for (const int range : NumberRanges) {
            QTest::addRow("pairs up to %d", range) << range << 2;
            QTest::addRow("triples up to %d", range) << range << 3;
        }
    }
    void numberGroupsShareFactorsMoreOftenThanChance()
    {
        QFETCH(int, range);
        QFETCH(int, size);
        constexpr int Groups = 2000;
        int sharing = 0;
        int sharingByChance = 0;
        for (int seed = 1; seed <= Groups; ++seed) {
            RandomGenerator random = sheetGenerator(std::uint64_t(seed));
            const std::vector<std::int32_t> group = drawNumberGroup(random, range, size);
            QCOMPARE(int(group.size()), size);
            QCOMPARE(int(std::set<std::int32_t>(group.begin(), group.end()).size()), size);
            std::int64_t ggt = 0;
            for (const std::int32_t number : group) {
                QVERIFY(number >= 4 && number <= range && !IsPrime(number));
                ggt = std::gcd(ggt, std::int64_t { number });
            }
            sharing += ggt > 1;
            const std::vector<std::int32_t> alone = drawCompositeNumbers(random, range, size);
            std::int64_t ggtAlone = 0;
            for (const std::int32_t number : alone)
                ggtAlone = std::gcd(ggtAlone, std::int64_t { number });
            sharingByChance += ggtAlone > 1;
        }
        qInfo("%d of %d groups share a factor, %d drawn alone", sharing, Groups, sharingByChance);
        QVERIFY2(sharing > sharingByChance + Groups / 10,
            qPrintable(QStringLiteral("%1 against %2").arg(sharing).arg(sharingByChance)));
        QVERIFY(sharing < Groups);
    }

    // The powers come from the main window's factorization run; an independent trial division
    // must give the same primes.
    void primePowersMatchAnIndependentFactorization()
    {
        for (std::int32_t n = 2; n <= 20000; ++n) {
            std::vector<std::uint64_t> expanded;
            for (const PrimePower& power : primePowers(n))
                expanded.insert(expanded.end(), std::size_t(power.exponent), power.prime);
            QCOMPARE(expanded, reference::referenceFactors(std::uint64_t(n)));
        }
    }
};

QTEST_APPLESS_MAIN(TestExercises)
#include "test_exercises.moc"
