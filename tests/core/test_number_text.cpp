// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <QtTest>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace {

QByteArray digits(int count, char digit)
{
    return QByteArray(count, digit);
}

std::string toStd(const QByteArray& text)
{
    return text.toStdString();
}

// The decimal digits of a sum of signed powers of two plus a small whole number, for texts of
// up to 309 digits whose exact value matters: (exponent, +1 or -1) pairs. The sum must not be
// negative.
QByteArray decimalText(std::initializer_list<std::pair<int, int>> powers, int plus = 0)
{
    std::vector<int> sum(400, 0); // base 10, lowest digit first
    const auto add = [&sum](const std::vector<int>& term, int sign) {
        int carry = 0;
        for (std::size_t i = 0; i < sum.size(); ++i) {
            int digit = sum[i] + sign * (i < term.size() ? term[i] : 0) + carry;
            carry = digit < 0 ? -1 : digit / 10;
            sum[i] = digit - carry * 10;
        }
    };
    for (const auto& [exponent, sign] : powers) {
        std::vector<int> power { 1 };
        for (int i = 0; i < exponent; ++i) {
            int carry = 0;
            for (int& digit : power) {
                digit = digit * 2 + carry;
                carry = digit / 10;
                digit %= 10;
            }
            if (carry > 0)
                power.push_back(carry);
        }
        add(power, sign);
    }
    add({ plus < 0 ? -plus : plus }, plus < 0 ? -1 : 1);
    QByteArray text;
    for (auto digit = sum.rbegin(); digit != sum.rend(); ++digit) {
        if (!text.isEmpty() || *digit != 0)
            text.append(static_cast<char>('0' + *digit));
    }
    return text.isEmpty() ? QByteArray("0") : text;
}

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void parseInt16_data();
    void parseInt16();
    void parseInt32_data();
    void parseInt32();
    void parseWholeNumber_data();
    void parseWholeNumber();
    void parseDouble_data();
    void parseDouble();
    void formatDouble_data();
    void formatDouble();
    void formatDecimalPattern_data();
    void formatDecimalPattern();
};

// Rows shared by all three parsers: texts that are never a number.
static void addMalformedRows()
{
    QTest::newRow("empty") << QByteArray() << false << 0.0;
    QTest::newRow("plus only") << QByteArray("+") << false << 0.0;
    QTest::newRow("minus only") << QByteArray("-") << false << 0.0;
    QTest::newRow("two signs") << QByteArray("+-5") << false << 0.0;
    QTest::newRow("double minus") << QByteArray("--5") << false << 0.0;
    QTest::newRow("leading blank") << QByteArray(" 5") << false << 0.0;
    QTest::newRow("trailing blank") << QByteArray("5 ") << false << 0.0;
    QTest::newRow("blank after sign") << QByteArray("- 5") << false << 0.0;
    QTest::newRow("decimal comma") << QByteArray("1,5") << false << 0.0;
    QTest::newRow("decimal point") << QByteArray("1.5") << false << 0.0;
    QTest::newRow("trailing sign") << QByteArray("5-") << false << 0.0;
    QTest::newRow("letters") << QByteArray("abc") << false << 0.0;
    QTest::newRow("letter inside") << QByteArray("1a2") << false << 0.0;
    QTest::newRow("hex") << QByteArray("0x10") << false << 0.0;
    QTest::newRow("exponent") << QByteArray("1e5") << false << 0.0;
    QTest::newRow("tab") << QByteArray("\t7") << false << 0.0;
    QTest::newRow("embedded nul") << QByteArray("1\0"
                                                "2",
        3) << false << 0.0;
    QTest::newRow("non-ASCII digit") << QByteArray("\xd9\xa3") << false << 0.0;
}

void TestNumberText::parseInt16_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    addMalformedRows();
    QTest::newRow("zero") << QByteArray("0") << true << 0.0;
    QTest::newRow("minus zero") << QByteArray("-0") << true << 0.0;
    QTest::newRow("plus sign") << QByteArray("+12") << true << 12.0;
    QTest::newRow("leading zeros") << QByteArray("0007") << true << 7.0;
    QTest::newRow("max") << QByteArray("32767") << true << 32767.0;
    QTest::newRow("max + 1") << QByteArray("32768") << false << 0.0;
    QTest::newRow("min") << QByteArray("-32768") << true << -32768.0;
    QTest::newRow("min - 1") << QByteArray("-32769") << false << 0.0;
    QTest::newRow("max behind zeros") << QByteArray("00000000000032767") << true << 32767.0;
    QTest::newRow("wraps to small in 32 bits") << QByteArray("65537") << false << 0.0;
    QTest::newRow("20 digits") << digits(20, '9') << false << 0.0;
}

void TestNumberText::parseInt16()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = pendro::parseInt16(toStd(text));
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(static_cast<double>(*parsed), value);
}

void TestNumberText::parseInt32_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    addMalformedRows();
    QTest::newRow("zero") << QByteArray("0") << true << 0.0;
    QTest::newRow("negative") << QByteArray("-45") << true << -45.0;
    QTest::newRow("plus sign") << QByteArray("+45") << true << 45.0;
    QTest::newRow("32768") << QByteArray("32768") << true << 32768.0;
    QTest::newRow("max") << QByteArray("2147483647") << true << 2147483647.0;
    QTest::newRow("max + 1") << QByteArray("2147483648") << false << 0.0;
    QTest::newRow("min") << QByteArray("-2147483648") << true << -2147483648.0;
    QTest::newRow("min - 1") << QByteArray("-2147483649") << false << 0.0;
    QTest::newRow("2^32 wraps to 0 in 32 bits") << QByteArray("4294967296") << false << 0.0;
    QTest::newRow("11 digits") << QByteArray("99999999999") << false << 0.0;
    QTest::newRow("max behind many zeros")
        << digits(40, '0') + "2147483647" << true << 2147483647.0;
    QTest::newRow("all zeros") << digits(50, '0') << true << 0.0;
    QTest::newRow("20 digits wrapping 64 bits")
        << QByteArray("18446744073709551617") << false << 0.0;
}

void TestNumberText::parseInt32()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = pendro::parseInt32(toStd(text));
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(static_cast<double>(*parsed), value);
}

// Read up to 2^53, the limit of the trainers' exact checks, digit by digit.
void TestNumberText::parseWholeNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    addMalformedRows();
    QTest::newRow("plus sign") << QByteArray("+12") << true << 12.0;
    QTest::newRow("2^53") << QByteArray("9007199254740992") << true << 9007199254740992.0;
    QTest::newRow("-2^53") << QByteArray("-9007199254740992") << true << -9007199254740992.0;
    QTest::newRow("2^53 + 1") << QByteArray("9007199254740993") << false << 0.0;
    QTest::newRow("2^53 behind zeros")
        << QByteArray("0009007199254740992") << true << 9007199254740992.0;
    QTest::newRow("forty digits") << digits(40, '9') << false << 0.0;
}

void TestNumberText::parseWholeNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = pendro::parseWholeNumber(toStd(text), std::int64_t { 1 } << 53);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(static_cast<double>(*parsed), value);
}

void TestNumberText::parseDouble_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    addMalformedRows();
    QTest::newRow("zero") << QByteArray("0") << true << 0.0;
    QTest::newRow("twelve") << QByteArray("12") << true << 12.0;
    QTest::newRow("negative") << QByteArray("-131072") << true << -131072.0;
    QTest::newRow("plus sign") << QByteArray("+7") << true << 7.0;
    QTest::newRow("leading zeros") << QByteArray("00012") << true << 12.0;
    QTest::newRow("2^31") << QByteArray("2147483648") << true << 2147483648.0;
    QTest::newRow("2^53 + 1 rounds to even")
        << QByteArray("9007199254740993") << true << 9007199254740992.0;
    QTest::newRow("21 digits") << QByteArray("123456789012345678901") << true
                               << 123456789012345678901.0;
    QTest::newRow("309 digits, 1e308") << "1" + digits(308, '0') << true << 1e308;
    QTest::newRow("309 digits beyond the range") << digits(309, '9') << false << 0.0;
    QTest::newRow("negative beyond the range") << "-" + digits(309, '9') << false << 0.0;
    QTest::newRow("400 digits") << "1" + digits(399, '0') << false << 0.0;
    QTest::newRow("400 zeros") << digits(400, '0') << true << 0.0;
    QTest::newRow("small value behind 400 zeros") << digits(400, '0') + "42" << true << 42.0;
    // Near the top of the range every one of the 309 digits can decide the rounding.
    QTest::newRow("2^1023 + 2^970, a tie, rounds to even")
        << decimalText({ { 1023, 1 }, { 970, 1 } }) << true << std::ldexp(1.0, 1023);
    QTest::newRow("one more than that tie rounds up") << decimalText(
        { { 1023, 1 }, { 970, 1 } }, 1) << true << std::ldexp(1.0, 1023) + std::ldexp(1.0, 971);
    QTest::newRow("largest double")
        << decimalText({ { 1024, 1 }, { 971, -1 } }) << true << std::numeric_limits<double>::max();
    QTest::newRow("one less than half an ulp above the largest double") << decimalText(
        { { 1024, 1 }, { 970, -1 } }, -1) << true << std::numeric_limits<double>::max();
    QTest::newRow("half an ulp above the largest double is beyond the range")
        << decimalText({ { 1024, 1 }, { 970, -1 } }) << false << 0.0;
    QTest::newRow("10,000 leading zeros") << digits(10000, '0') + "131071" << true << 131071.0;
}

void TestNumberText::parseDouble()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = pendro::parseDouble(toStd(text));
    QCOMPARE(parsed.has_value(), valid);
    // Exactly, not within QCOMPARE's tolerance for doubles: the rounding is what is tested.
    if (valid)
        QVERIFY2(*parsed == value, qPrintable(QString::number(*parsed, 'g', 17)));
}

void TestNumberText::formatDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
    QTest::newRow("one") << 1.0 << QByteArray("1");
    QTest::newRow("whole") << 1260.0 << QByteArray("1260");
    QTest::newRow("negative whole") << -42.0 << QByteArray("-42");
    QTest::newRow("fraction") << 0.75 << QByteArray("0,75");
    QTest::newRow("negative fraction") << -3.5 << QByteArray("-3,5");
    QTest::newRow("small fraction") << 0.001 << QByteArray("0,001");
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << QByteArray("0,3");
    QTest::newRow("1/3") << 1.0 / 3 << QByteArray("0,333333333333333");
    QTest::newRow("2/3 rounds up") << 2.0 / 3 << QByteArray("0,666666666666667");
    QTest::newRow("-2/3") << -2.0 / 3 << QByteArray("-0,666666666666667");
    QTest::newRow("100/3") << 100.0 / 3 << QByteArray("33,3333333333333");
    QTest::newRow("2.675 is below the tie") << 2.675 << QByteArray("2,675");
    QTest::newRow("carry into a new digit") << 9.9999999999999982 << QByteArray("10");
    QTest::newRow("15 nines stay") << 999999999999999.0 << QByteArray("999999999999999");
    QTest::newRow("carry to 1E+15") << 999999999999999.9 << QByteArray("1E+15");
    QTest::newRow("1e14 stays plain") << 1e14 << QByteArray("100000000000000");
    QTest::newRow("15 digits with fraction") << 123456789012345.6 << QByteArray("123456789012346");
    QTest::newRow("1E+15") << 1e15 << QByteArray("1E+15");
    QTest::newRow("-1E+15") << -1e15 << QByteArray("-1E+15");
    QTest::newRow("16 digits") << 1000000000001100.0 << QByteArray("1,0000000000011E+15");
    QTest::newRow("21 digits") << 123456789012345678901.0 << QByteArray("1,23456789012346E+20");
    QTest::newRow("three-digit exponent") << 1e300 << QByteArray("1E+300");
    QTest::newRow("largest double")
        << std::numeric_limits<double>::max() << QByteArray("1,79769313486232E+308");
    // Exact ties in the 16th digit go away from zero, not to the even neighbour.
    QTest::newRow("tie 1000000000000005")
        << 1000000000000005.0 << QByteArray("1,00000000000001E+15");
    QTest::newRow("tie 1000000000000025")
        << 1000000000000025.0 << QByteArray("1,00000000000003E+15");
    QTest::newRow("tie -1000000000000025")
        << -1000000000000025.0 << QByteArray("-1,00000000000003E+15");
    QTest::newRow("tie 12345678901234.25") << 12345678901234.25 << QByteArray("12345678901234,3");
    QTest::newRow("tie -12345678901234.25")
        << -12345678901234.25 << QByteArray("-12345678901234,3");
    QTest::newRow("0.1 lies just above 0,1") << 0.1 << QByteArray("0,1");
    QTest::newRow("tiny") << 1e-20 << QByteArray("0,00000000000000000001");
    QTest::newRow("kgV of eight large numbers")
        << 4.4074471169353093e+74 << QByteArray("4,40744711693531E+74");
    QTest::newRow("NaN") << std::nan("") << QByteArray("0");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << QByteArray("0");
}

void TestNumberText::formatDouble()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(pendro::formatDouble(value)), text);
}

void TestNumberText::formatDecimalPattern_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("3/4") << 0.75 << QByteArray("0,75");
    QTest::newRow("-7/6") << -7.0 / 6 << QByteArray("-1,16666666666667");
    QTest::newRow("5/6") << 5.0 / 6 << QByteArray("0,83333333333333");
    QTest::newRow("100/3") << 100.0 / 3 << QByteArray("33,3333333333333");
    QTest::newRow("1/6") << 1.0 / 6 << QByteArray("0,16666666666667");
    QTest::newRow("-2/3") << -2.0 / 3 << QByteArray("-0,66666666666667");
    QTest::newRow("2") << 2.0 << QByteArray("2,");
    QTest::newRow("0") << 0.0 << QByteArray("0,");
    QTest::newRow("-0") << -0.0 << QByteArray("0,");
    QTest::newRow("1.875") << 1.875 << QByteArray("1,875");
    QTest::newRow("-3.5") << -3.5 << QByteArray("-3,5");
    QTest::newRow("-7/3") << -7.0 / 3 << QByteArray("-2,33333333333333");
    QTest::newRow("-2") << -2.0 << QByteArray("-2,");
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << QByteArray("0,3");
    // The 15-digit text 0,123456789012345 ends in a tie at the 15th decimal, although the
    // double itself lies just below it.
    QTest::newRow("tie after the first rounding")
        << 0.123456789012345 << QByteArray("0,12345678901235");
    QTest::newRow("negative tie after the first rounding")
        << -0.123456789012345 << QByteArray("-0,12345678901235");
    QTest::newRow("carry through all decimals") << 0.999999999999999 << QByteArray("1,");
    QTest::newRow("1.5e-14 rounds up") << 1.5e-14 << QByteArray("0,00000000000002");
    QTest::newRow("5e-15 rounds up to the last place") << 5e-15 << QByteArray("0,00000000000001");
    QTest::newRow("4e-15 rounds to zero") << 4e-15 << QByteArray("0,");
    QTest::newRow("tiny negative is not -0,") << -4e-15 << QByteArray("0,");
    QTest::newRow("-1e-20 is not -0,") << -1e-20 << QByteArray("0,");
    QTest::newRow("1e14") << 1e14 << QByteArray("100000000000000,");
    QTest::newRow("1e15 plain") << 1e15 << QByteArray("1000000000000000,");
    QTest::newRow("above 1e15 keeps 15 digits")
        << 1000000000000025.0 << QByteArray("1000000000000030,");
    QTest::newRow("1e20 plain") << 1e20 << QByteArray("100000000000000000000,");
    QTest::newRow("NaN") << std::nan("") << QByteArray("0,");
}

void TestNumberText::formatDecimalPattern()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(pendro::formatDecimalPattern(value)), text);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
