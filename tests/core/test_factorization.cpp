// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/factorization.h"
#include "core/number_text.h"
#include "core/prime_table.h"
#include "tests/reference_factorization.h"

#include <QtTest>

#include <map>
#include <numeric>
#include <random>
#include <vector>

namespace {

// Stands for the rejection message in the expected factor texts.
const QByteArray Refused = "REFUSED";

QByteArray twos(int count)
{
    QByteArrayList parts;
    for (int i = 0; i < count; ++i)
        parts << "2";
    return parts.join(" * ");
}

QByteArray expectedFactorText(const QByteArray& text)
{
    return text == Refused ? QByteArray(pendro::RejectionMessage) : text;
}

pendro::WorkArea areaWith(const QByteArrayList& numbers)
{
    pendro::WorkArea area;
    for (int i = 0; i < numbers.size() && i < pendro::NumberFieldCount; ++i)
        area.numbers[static_cast<std::size_t>(i)] = numbers[i].toStdString();
    return area;
}

} // namespace

class TestFactorization : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
    void staleResultsAreReplaced();
    void kgvFromFactorTexts_data();
    void kgvFromFactorTexts();
    void ggtOfTwo_data();
    void ggtOfTwo();
    void isRejected_data();
    void isRejected();
    void agreesWithTrialDivision_data();
    void agreesWithTrialDivision();
};

void TestFactorization::run_data()
{
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QByteArrayList>("numbers");
    QTest::addColumn<QByteArrayList>("factors");
    QTest::addColumn<QByteArray>("ggt");
    QTest::addColumn<QByteArray>("kgv");

    const QByteArray r = Refused;
    const QByteArray big400 = "1" + QByteArray(399, '0');

    QTest::newRow("all fields empty")
        << false << QByteArrayList {} << QByteArrayList {} << QByteArray() << QByteArray("1");
    QTest::newRow("12") << false << QByteArrayList { "12" } << QByteArrayList { "2 * 2 * 3" }
                        << QByteArray("12") << QByteArray("12");
    QTest::newRow("five numbers") << false << QByteArrayList { "18", "12", "30", "42", "36" }
                                  << QByteArrayList { "2 * 3 * 3", "2 * 2 * 3", "2 * 3 * 5",
                                         "2 * 3 * 7", "2 * 2 * 3 * 3" }
                                  << QByteArray("6") << QByteArray("1260");
    QTest::newRow("eight fields 2..9")
        << false << QByteArrayList { "2", "3", "4", "5", "6", "7", "8", "9" }
        << QByteArrayList { "2", "3", "2 * 2", "5", "2 * 3", "7", "2 * 2 * 2", "3 * 3" }
        << QByteArray("1") << QByteArray("2520");
    QTest::newRow("0 alone") << false << QByteArrayList { "0" } << QByteArrayList { "" }
                             << QByteArray() << QByteArray("1");
    QTest::newRow("12 and 0") << false << QByteArrayList { "12", "0" }
                              << QByteArrayList { "2 * 2 * 3", "" } << QByteArray("12")
                              << QByteArray("12");
    QTest::newRow("00 beside 12") << false << QByteArrayList { "00", "12" }
                                  << QByteArrayList { "", "2 * 2 * 3" } << QByteArray("12")
                                  << QByteArray("12");
    QTest::newRow("00 alone") << false << QByteArrayList { "00" } << QByteArrayList { "" }
                              << QByteArray() << QByteArray("1");
    QTest::newRow("1 and 5") << false << QByteArrayList { "1", "5" } << QByteArrayList { "", "5" }
                             << QByteArray("1") << QByteArray("5");
    QTest::newRow("gaps between fields") << false << QByteArrayList { "6", "", "", "", "", "10" }
                                         << QByteArrayList { "2 * 3", "", "", "", "", "2 * 5" }
                                         << QByteArray("2") << QByteArray("30");
    QTest::newRow("4, 6, 10") << false << QByteArrayList { "4", "6", "10" }
                              << QByteArrayList { "2 * 2", "2 * 3", "2 * 5" } << QByteArray("2")
                              << QByteArray("60");
    QTest::newRow("131071 last table prime")
        << false << QByteArrayList { "131071" } << QByteArrayList { "131071" }
        << QByteArray("131071") << QByteArray("131071");
    QTest::newRow("131072 = 2^17")
        << false << QByteArrayList { "131072" } << QByteArrayList { twos(17) }
        << QByteArray("131072") << QByteArray("131072");
    QTest::newRow("262144 = 2^18")
        << false << QByteArrayList { "262144" } << QByteArrayList { twos(18) }
        << QByteArray("262144") << QByteArray("262144");
    QTest::newRow("2147483646") << false << QByteArrayList { "2147483646" }
                                << QByteArrayList { "2 * 3 * 3 * 7 * 11 * 31 * 151 * 331" }
                                << QByteArray("2147483646") << QByteArray("2147483646");
    QTest::newRow("2^14 * 131071 needs the last prime")
        << false << QByteArrayList { "2147467264" } << QByteArrayList { twos(14) + " * 131071" }
        << QByteArray("2147467264") << QByteArray("2147467264");
    QTest::newRow("2147483647 prime beyond the table")
        << false << QByteArrayList { "2147483647" } << QByteArrayList { r } << QByteArray()
        << QByteArray("1");
    QTest::newRow("2147483648 beyond 32 bits")
        << false << QByteArrayList { "2147483648", "12" } << QByteArrayList { r, "2 * 2 * 3" }
        << QByteArray("12") << QByteArray("12");
    QTest::newRow("262202 = 2 * 131101") << false << QByteArrayList { "262202" }
                                         << QByteArrayList { r } << QByteArray() << QByteArray("1");
    QTest::newRow("140000 and 15")
        << false << QByteArrayList { "140000", "15" }
        << QByteArrayList { "2 * 2 * 2 * 2 * 2 * 5 * 5 * 5 * 5 * 7", "3 * 5" } << QByteArray("5")
        << QByteArray("420000");
    QTest::newRow("strict: 140000 and 15")
        << true << QByteArrayList { "140000", "15" } << QByteArrayList { r, "3 * 5" }
        << QByteArray("15") << QByteArray("15");
    QTest::newRow("strict: 131072 is not above the limit")
        << true << QByteArrayList { "131072" } << QByteArrayList { twos(17) }
        << QByteArray("131072") << QByteArray("131072");
    QTest::newRow("strict: 131073 = 3 * 43691")
        << true << QByteArrayList { "131073", "9" } << QByteArrayList { r, "3 * 3" }
        << QByteArray("9") << QByteArray("9");
    QTest::newRow("131073 = 3 * 43691")
        << false << QByteArrayList { "131073", "9" } << QByteArrayList { "3 * 43691", "3 * 3" }
        << QByteArray("3") << QByteArray("393219");
    QTest::newRow("strict: 262202") << true << QByteArrayList { "262202" } << QByteArrayList { r }
                                    << QByteArray() << QByteArray("1");
    QTest::newRow("pasted letters")
        << false << QByteArrayList { "1a2", "12", "abc", "18" }
        << QByteArrayList { r, "2 * 2 * 3", r, "2 * 3 * 3" } << QByteArray("6") << QByteArray("36");
    QTest::newRow("pasted blank and comma")
        << false << QByteArrayList { " 12", "1,5", "8" } << QByteArrayList { r, r, "2 * 2 * 2" }
        << QByteArray("8") << QByteArray("8");
    QTest::newRow("400 digits") << false << QByteArrayList { "12", big400 }
                                << QByteArrayList { "2 * 2 * 3", r } << QByteArray("12")
                                << QByteArray("12");
    QTest::newRow("strict: 400 digits")
        << true << QByteArrayList { big400, "12" } << QByteArrayList { r, "2 * 2 * 3" }
        << QByteArray("12") << QByteArray("12");
    QTest::newRow("1e308 in digits") << false << QByteArrayList { "1" + QByteArray(308, '0') }
                                     << QByteArrayList { r } << QByteArray() << QByteArray("1");
    QTest::newRow("plus sign") << false << QByteArrayList { "+12", "18" }
                               << QByteArrayList { "2 * 2 * 3", "2 * 3 * 3" } << QByteArray("6")
                               << QByteArray("36");
    // Not reachable through the fields' key rules; a negative number has no factorization.
    QTest::newRow("negative") << false << QByteArrayList { "-12", "18" }
                              << QByteArrayList { r, "2 * 3 * 3" } << QByteArray("18")
                              << QByteArray("18");
    QTest::newRow("strict: negatives beside others")
        << true << QByteArrayList { "-262202", "-2147483647", "12" }
        << QByteArrayList { r, r, "2 * 2 * 3" } << QByteArray("12") << QByteArray("12");
    QTest::newRow("two large numbers")
        << false << QByteArrayList { "2147483646", "2147467264" }
        << QByteArrayList { "2 * 3 * 3 * 7 * 11 * 31 * 151 * 331", twos(14) + " * 131071" }
        << QByteArray("2") << QByteArray("2,30582541488018E+18");
    // 46337^2 and seven products of two further primes just below 46341.
    QTest::newRow("eight large numbers")
        << false
        << QByteArrayList { "2147117569", "2145357043", "2144060407", "2141468167", "2140542731",
               "2137490273", "2135271581", "2133054221" }
        << QByteArrayList { "46337 * 46337", "46309 * 46327", "46301 * 46307", "46273 * 46279",
               "46261 * 46271", "46229 * 46237", "46199 * 46219", "46183 * 46187" }
        << QByteArray("1") << QByteArray("4,40744711693531E+74");
}

void TestFactorization::run()
{
    QFETCH(bool, strict);
    QFETCH(QByteArrayList, numbers);
    QFETCH(QByteArrayList, factors);
    QFETCH(QByteArray, ggt);
    QFETCH(QByteArray, kgv);

    pendro::WorkArea area = areaWith(numbers);
    pendro::runFactorization(
        area, strict ? pendro::FactorizationMode::Strict : pendro::FactorizationMode::Lenient);

    for (int i = 0; i < pendro::NumberFieldCount; ++i) {
        const auto field = static_cast<std::size_t>(i);
        const QByteArray number = i < numbers.size() ? numbers[i] : QByteArray();
        const QByteArray expected = i < factors.size() ? expectedFactorText(factors[i]) : "";
        QCOMPARE(QByteArray::fromStdString(area.factors[field]), expected);
        // Only a field holding exactly "0" is changed.
        QCOMPARE(
            QByteArray::fromStdString(area.numbers[field]), number == "0" ? QByteArray() : number);
    }
    QCOMPARE(QByteArray::fromStdString(area.ggt), ggt);
    QCOMPARE(QByteArray::fromStdString(area.kgv), kgv);
}

void TestFactorization::staleResultsAreReplaced()
{
    pendro::WorkArea area = areaWith({ "", "9", "2147483647" });
    area.factors.fill("7 * 7");
    area.ggt = "99";
    area.kgv = "99";
    pendro::runFactorization(area, pendro::FactorizationMode::Lenient);
    QCOMPARE(area.factors[0], std::string());
    QCOMPARE(area.factors[1], std::string("3 * 3"));
    QCOMPARE(area.factors[2], std::string(pendro::RejectionMessage));
    QCOMPARE(area.factors[7], std::string());
    QCOMPARE(area.ggt, std::string("9"));
    QCOMPARE(area.kgv, std::string("9"));

    // A second run over its own output gives the same result.
    const pendro::WorkArea first = area;
    pendro::runFactorization(area, pendro::FactorizationMode::Lenient);
    QVERIFY(area.factors == first.factors);
    QCOMPARE(area.ggt, first.ggt);
    QCOMPARE(area.kgv, first.kgv);
}

void TestFactorization::kgvFromFactorTexts_data()
{
    QTest::addColumn<QByteArrayList>("factorTexts");
    QTest::addColumn<QByteArray>("kgv");
    QTest::newRow("none") << QByteArrayList {} << QByteArray("1");
    QTest::newRow("highest powers")
        << QByteArrayList { "2 * 2 * 3", "2 * 3 * 3", "2 * 2 * 2" } << QByteArray("72");
    QTest::newRow("order of factors inside a text")
        << QByteArrayList { "3 * 2 * 2" } << QByteArray("12");
    QTest::newRow("without blanks") << QByteArrayList { "2*3", "5" } << QByteArray("30");
    QTest::newRow("extra blanks") << QByteArrayList { "  2 *   7  " } << QByteArray("14");
    QTest::newRow("rejected text ignored")
        << QByteArrayList { QByteArray(pendro::RejectionMessage), "5" } << QByteArray("5");
    QTest::newRow("unreadable text ignored") << QByteArrayList { "2 * x", "3" } << QByteArray("3");
    QTest::newRow("empty part ignored") << QByteArrayList { "2 * ", "3" } << QByteArray("3");
    QTest::newRow("non-primes do not count") << QByteArrayList { "4 * 9", "5" } << QByteArray("5");
    QTest::newRow("primes past the table do not count")
        << QByteArrayList { "131101", "3" } << QByteArray("3");
    QTest::newRow("2^60 in exponent form")
        << QByteArrayList { twos(60) } << QByteArray("1,15292150460685E+18");
}

void TestFactorization::kgvFromFactorTexts()
{
    QFETCH(QByteArrayList, factorTexts);
    QFETCH(QByteArray, kgv);
    pendro::WorkArea area;
    for (int i = 0; i < factorTexts.size(); ++i) {
        // assign(1, '1') rather than = "1": GCC 12 at -O3 reports a false -Wrestrict inside
        // libstdc++ for assigning a string literal in this loop.
        area.numbers[static_cast<std::size_t>(i)].assign(1, '1');
        area.factors[static_cast<std::size_t>(i)] = factorTexts[i].toStdString();
    }
    pendro::ComputeKGV(area);
    QCOMPARE(QByteArray::fromStdString(area.kgv), kgv);
}

void TestFactorization::ggtOfTwo_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<qint64>("ggt");
    QTest::newRow("12, 18") << qint64(12) << qint64(18) << qint64(6);
    QTest::newRow("18, 12") << qint64(18) << qint64(12) << qint64(6);
    QTest::newRow("coprime") << qint64(35) << qint64(64) << qint64(1);
    QTest::newRow("divisor") << qint64(7) << qint64(21) << qint64(7);
    QTest::newRow("equal") << qint64(9) << qint64(9) << qint64(9);
    QTest::newRow("second zero") << qint64(12) << qint64(0) << qint64(12);
    QTest::newRow("first zero") << qint64(0) << qint64(12) << qint64(12);
    QTest::newRow("both zero") << qint64(0) << qint64(0) << qint64(0);
    QTest::newRow("int32 extremes") << qint64(2147483647) << qint64(2147483646) << qint64(1);
    QTest::newRow("int32 min by -1 does not trap")
        << qint64(-2147483648LL) << qint64(-1) << qint64(-1);
}

void TestFactorization::ggtOfTwo()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(qint64, ggt);
    QCOMPARE(pendro::GGTOfTwo(a, b), ggt);
}

void TestFactorization::isRejected_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("rejected");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("factors") << QByteArray("2 * 3") << false;
    QTest::newRow("message") << QByteArray(pendro::RejectionMessage) << true;
    QTest::newRow("first letter only") << QByteArray("D") << true;
    QTest::newRow("lower case d") << QByteArray("d") << false;
}

void TestFactorization::isRejected()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, rejected);
    QCOMPARE(pendro::isRejected(text.toStdString()), rejected);
}

void TestFactorization::agreesWithTrialDivision_data()
{
    QTest::addColumn<bool>("strict");
    QTest::newRow("lenient") << false;
    QTest::newRow("strict") << true;
}

void TestFactorization::agreesWithTrialDivision()
{
    QFETCH(bool, strict);
    const auto mode
        = strict ? pendro::FactorizationMode::Strict : pendro::FactorizationMode::Lenient;
    const auto& table = pendro::PrimeTable();

    std::mt19937 random(77031);
    std::uniform_int_distribution<std::int64_t> anyNumber(1, 2147483647);
    std::uniform_int_distribution<std::int64_t> smallNumber(1, 200000);
    std::uniform_int_distribution<int> anyPrime(0, pendro::LastPrimeIndex);
    std::uniform_int_distribution<int> smallPrime(0, 25);
    // Products of table primes, so that plenty of large numbers are accepted too.
    auto tableProduct = [&] {
        std::int64_t n = table[static_cast<std::size_t>(anyPrime(random))];
        for (;;) {
            const std::int64_t p = table[static_cast<std::size_t>(smallPrime(random))];
            if (n * p > 2147483647)
                return n;
            n *= p;
        }
    };

    int accepted = 0;
    int refused = 0;
    for (int batch = 0; batch < 500; ++batch) {
        std::array<std::int64_t, pendro::NumberFieldCount> values {};
        pendro::WorkArea area;
        for (std::size_t i = 0; i < values.size(); ++i) {
            switch (random() % 3) {
            case 0:
                values[i] = anyNumber(random);
                break;
            case 1:
                values[i] = smallNumber(random);
                break;
            default:
                values[i] = tableProduct();
                break;
            }
            area.numbers[i] = std::to_string(values[i]);
        }
        pendro::runFactorization(area, mode);

        std::int64_t ggt = 0;
        std::map<std::int64_t, int> highestPowers;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::int64_t n = values[i];
            const auto expected
                = pendro::reference::referenceFactors(static_cast<std::uint64_t>(n));
            const bool inTable = expected.empty() || expected.back() <= 131071;
            const bool shouldAccept = strict ? n <= pendro::PrimeLimit : inTable;
            const QByteArray context = QByteArray::number(n);
            QVERIFY2(pendro::isRejected(area.factors[i]) == !shouldAccept, context.constData());
            if (!shouldAccept) {
                ++refused;
                continue;
            }
            ++accepted;
            QCOMPARE(area.factors[i], pendro::reference::joinFactors(expected));

            // The factors shown multiply back to the number.
            std::int64_t product = 1;
            if (!area.factors[i].empty()) {
                for (const QByteArray& part : QByteArray::fromStdString(area.factors[i]).split('*'))
                    product *= part.trimmed().toLongLong();
            }
            QCOMPARE(product, n);

            ggt = std::gcd(ggt, n);
            std::map<std::int64_t, int> powers;
            for (std::int64_t p : expected)
                ++powers[p];
            for (const auto& [p, e] : powers)
                highestPowers[p] = std::max(highestPowers[p], e);
        }
        QCOMPARE(
            QByteArray::fromStdString(area.ggt), ggt == 0 ? QByteArray() : QByteArray::number(ggt));

        double kgv = 1.0;
        for (const auto& [p, e] : highestPowers) {
            double power = 1.0;
            for (int k = 0; k < e; ++k)
                power *= static_cast<double>(p);
            kgv = power * kgv;
        }
        QCOMPARE(QByteArray::fromStdString(area.kgv),
            QByteArray::fromStdString(pendro::formatDouble(kgv)));
    }
    // Both outcomes must have been exercised.
    QVERIFY(accepted > 500);
    QVERIFY(refused > 500);
}

QTEST_APPLESS_MAIN(TestFactorization)
#include "test_factorization.moc"
