// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fraction_arithmetic.h"

#include <QtTest>

#include <vector>

using namespace pendro;

Q_DECLARE_METATYPE(std::vector<pendro::SignedTerm>)
Q_DECLARE_METATYPE(std::optional<std::int64_t>)

namespace {
constexpr std::int64_t Limit = ExactDoubleLimit;
const std::optional<std::int64_t> None;
} // namespace

class TestFractionArithmetic : public QObject
{
    Q_OBJECT

private slots:
    void ggtAndKgv_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<std::optional<std::int64_t>>("ggt");
        QTest::addColumn<std::optional<std::int64_t>>("kgv");
        QTest::newRow("12, 18") << 12LL << 18LL << std::optional<std::int64_t>(6)
                                << std::optional<std::int64_t>(36);
        QTest::newRow("signs are dropped")
            << -12LL << 18LL << std::optional<std::int64_t>(6) << std::optional<std::int64_t>(36);
        QTest::newRow("ggT with 0, no kgV") << 7LL << 0LL << std::optional<std::int64_t>(7) << None;
        QTest::newRow("997 * 991 and 983") << 988027LL << 983LL << std::optional<std::int64_t>(1)
                                           << std::optional<std::int64_t>(971230541);
        QTest::newRow("kgV just within 2^53")
            << 4194301LL << 2147483647LL << std::optional<std::int64_t>(1)
            << std::optional<std::int64_t>(9007192808095747);
        QTest::newRow("kgV beyond 2^53")
            << 2147483647LL << 2147483629LL << std::optional<std::int64_t>(1) << None;
        QTest::newRow("beyond 2^53") << qint64(Limit + 1) << 2LL << None << None;
        QTest::newRow("lowest 64-bit value") << qint64(INT64_MIN) << 2LL << None << None;
    }
    void ggtAndKgv()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(std::optional<std::int64_t>, ggt);
        QFETCH(std::optional<std::int64_t>, kgv);
        QCOMPARE(exactGgt(a, b), ggt);
        QCOMPARE(exactKgv(a, b), kgv);
    }

    // The signed numerator of a sum over its common denominator, as the addition check needs it.
    void sumOverCommonDenominator_data()
    {
        QTest::addColumn<qint64>("common");
        QTest::addColumn<std::vector<SignedTerm>>("terms");
        QTest::addColumn<std::optional<std::int64_t>>("sum");
        auto row = [](const char* tag, std::int64_t common, std::vector<SignedTerm> terms,
                       std::optional<std::int64_t> sum) {
            QTest::newRow(tag) << qint64(common) << terms << sum;
        };
        row("1/2 + 1/3", 6, { { 1, 2 }, { 1, 3 } }, 5);
        row("-3/4 - 1/2", 4, { { -3, 4 }, { -1, 2 } }, -5);
        row("1/2 - 1/2", 2, { { 1, 2 }, { -1, 2 } }, 0);
        row("products beyond 64 bits that cancel", 9007192808095747,
            { { 2147483647, 1 }, { -2147483647, 1 }, { 1, 4194301 }, { 1, 2147483647 } },
            2151677948);
        row("exactly -2^53", 1, { { -Limit, 1 } }, -Limit);
        row("one below -2^53", 1, { { -Limit, 1 }, { -1, 1 } }, None);
        row("sum above 2^53", 2147483629, { { 2147483647, 1 }, { 1, 2147483629 } }, None);
        row("denominator 0", 4, { { 1, 4 }, { 3, 0 } }, None);
        row("denominator that does not divide", 6, { { 1, 4 } }, None);
        row("common denominator beyond 2^53", Limit + 2, { { 1, 2 } }, None);
    }
    void sumOverCommonDenominator()
    {
        QFETCH(qint64, common);
        QFETCH(std::vector<SignedTerm>, terms);
        QFETCH(std::optional<std::int64_t>, sum);
        QCOMPARE(pendro::sumOverCommonDenominator(common, terms), sum);
    }

    // The worked examples of the three trainers: the whole part carries the sign, a proper
    // fraction keeps it in its numerator, the denominator shown is positive.
    void mixedNumber_data()
    {
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<std::optional<std::int64_t>>("whole");
        QTest::addColumn<std::optional<std::int64_t>>("rest");
        QTest::addColumn<qint64>("restDenominator");
        auto row = [](const char* tag, std::int64_t numerator, std::int64_t denominator,
                       std::optional<std::int64_t> whole, std::optional<std::int64_t> rest,
                       std::int64_t restDenominator) {
            QTest::newRow(tag) << qint64(numerator) << qint64(denominator) << whole << rest
                               << qint64(restDenominator);
        };
        row("5/6", 5, 6, None, 5, 6);
        row("-1/6", -1, 6, None, -1, 6);
        row("0/1", 0, 1, None, 0, 1);
        row("2/1", 2, 1, 2, None, 1);
        row("-5/4", -5, 4, -1, 1, 4);
        row("-7/6 truncates toward zero", -7, 6, -1, 1, 6);
        row("15/8", 15, 8, 1, 7, 8);
        row("59049/2", 59049, 2, 29524, 1, 2);
        row("2/-3, the sign of a divisor", 2, -3, None, -2, 3);
        row("-2/-3", -2, -3, None, 2, 3);
        row("7/-2", 7, -2, -3, 1, 2);
        row("beyond 32 bits", -2147483648LL, 3, -715827882, 2, 3);
    }
    void mixedNumber()
    {
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QFETCH(std::optional<std::int64_t>, whole);
        QFETCH(std::optional<std::int64_t>, rest);
        QFETCH(qint64, restDenominator);
        const MixedNumber mixed = pendro::mixedNumber(numerator, denominator);
        QCOMPARE(mixed.whole, whole);
        QCOMPARE(mixed.restNumerator, rest);
        if (rest)
            QCOMPARE(mixed.restDenominator, restDenominator);
    }
};

QTEST_MAIN(TestFractionArithmetic)
#include "test_fraction_arithmetic.moc"
