// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/prime_table.h"

#include <QtTest>

#include <climits>
#include <random>

namespace {

// Plain trial division by every odd candidate, independent of the table.
bool isPrimeByTrialDivision(std::int64_t n)
{
    if (n < 2)
        return false;
    if (n % 2 == 0)
        return n == 2;
    for (std::int64_t d = 3; d * d <= n; d += 2) {
        if (n % d == 0)
            return false;
    }
    return true;
}

} // namespace

class TestPrimeTable : public QObject
{
    Q_OBJECT

private slots:
    void tableEntries_data();
    void tableEntries();
    void tableAndIsPrimeUpToLimit();
    void isPrime_data();
    void isPrime();
    void isPrimeBeyondTableMatchesTrialDivision();
    void freshSieveEqualsCachedTable();
    void divisorLoopBuildsTheSameTable();
};

void TestPrimeTable::tableEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::newRow("first") << 0 << 2;
    QTest::newRow("second") << 1 << 3;
    QTest::newRow("third") << 2 << 5;
    QTest::newRow("100th") << 99 << 541;
    QTest::newRow("second to last") << pendro::LastPrimeIndex - 1 << 131063;
    QTest::newRow("last") << pendro::LastPrimeIndex << 131071;
    QTest::newRow("spare slot") << pendro::PrimeCount << 0;
}

void TestPrimeTable::tableEntries()
{
    QFETCH(int, index);
    QFETCH(int, value);
    QCOMPARE(pendro::PrimeTableSize, 12252);
    QCOMPARE(pendro::PrimeTable()[static_cast<std::size_t>(index)], value);
}

void TestPrimeTable::tableAndIsPrimeUpToLimit()
{
    const auto& table = pendro::PrimeTable();
    std::size_t next = 0; // index of the next prime expected in the table
    for (std::int32_t n = 0; n <= pendro::PrimeLimit; ++n) {
        const bool prime = isPrimeByTrialDivision(n);
        if (pendro::IsPrime(n) != prime)
            QFAIL(qPrintable(QStringLiteral("IsPrime(%1) is wrong").arg(n)));
        if (prime && table[next++] != n)
            QFAIL(qPrintable(QStringLiteral("%1 missing at index %2").arg(n).arg(next - 1)));
    }
    QCOMPARE(static_cast<int>(next), pendro::PrimeCount);
}

void TestPrimeTable::isPrime_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("prime");
    QTest::newRow("INT_MIN") << INT_MIN << false;
    QTest::newRow("-7") << -7 << false;
    QTest::newRow("-2") << -2 << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << false;
    QTest::newRow("2") << 2 << true;
    QTest::newRow("4") << 4 << false;
    QTest::newRow("131071 last table prime") << 131071 << true;
    QTest::newRow("131072 limit") << 131072 << false;
    QTest::newRow("131073 = 3 * 43691") << 131073 << false;
    QTest::newRow("131101 first prime past the table") << 131101 << true;
    QTest::newRow("262202 = 2 * 131101") << 262202 << false;
    QTest::newRow("46337^2") << 46337 * 46337 << false;
    QTest::newRow("131071 * 16384") << 131071 * 16384 << false;
    QTest::newRow("2147483629") << 2147483629 << true;
    QTest::newRow("2147483646") << 2147483646 << false;
    QTest::newRow("INT_MAX") << INT_MAX << true;
}

void TestPrimeTable::isPrime()
{
    QFETCH(int, n);
    QFETCH(bool, prime);
    QCOMPARE(pendro::IsPrime(n), prime);
}

void TestPrimeTable::isPrimeBeyondTableMatchesTrialDivision()
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::int32_t> anywhere(pendro::PrimeLimit + 1, INT_MAX);
    std::uniform_int_distribution<std::int32_t> nearTop(INT_MAX - 100000, INT_MAX);
    for (int i = 0; i < 20000; ++i) {
        const std::int32_t n = (i % 2 == 0) ? anywhere(random) : nearTop(random);
        if (pendro::IsPrime(n) != isPrimeByTrialDivision(n))
            QFAIL(qPrintable(QStringLiteral("IsPrime(%1) is wrong").arg(n)));
    }
}

void TestPrimeTable::freshSieveEqualsCachedTable()
{
    QVERIFY(pendro::buildPrimeTableBySieve() == pendro::PrimeTable());
}

void TestPrimeTable::divisorLoopBuildsTheSameTable()
{
    QVERIFY(pendro::buildPrimeTableByDivisorLoop() == pendro::PrimeTable());
}

QTEST_APPLESS_MAIN(TestPrimeTable)
#include "test_prime_table.moc"
