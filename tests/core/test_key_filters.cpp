// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/key_filters.h"

#include <QtTest>

using pendro::KeyCode;

class TestKeyFilters : public QObject
{
    Q_OBJECT

private slots:
    void filter_data();
    void filter();
};

namespace {

// Columns: the filter, the typed code, the field's text before the key, the code that comes out.
void row(const char* filter, const char* tag, int code, const char* text, int result)
{
    QTest::addRow("%s: %s", filter, tag)
        << QByteArray(filter) << code << QByteArray(text) << result;
}

} // namespace

void TestKeyFilters::filter_data()
{
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");

    const char* f = "main";
    row(f, "0 48", '0', "", '0');
    row(f, "9 57", '9', "12", '9');
    row(f, "slash 47", '/', "", 0);
    row(f, "colon 58", ':', "", 0);
    row(f, "backspace", 8, "12", 0);
    row(f, "return", 13, "", 0);
    row(f, "minus", '-', "", 0);
    row(f, "non-ASCII", 0x00e4, "", 0);

    f = "digit";
    row(f, "slash 47", '/', "", '/');
    row(f, "0 48", '0', "", '0');
    row(f, "9 57", '9', "", '9');
    row(f, "backspace 8", 8, "", 8);
    row(f, "point 46", '.', "", 0);
    row(f, "colon 58", ':', "", 0);
    row(f, "plus 43", '+', "", 0);
    row(f, "minus 45", '-', "", 0);
    row(f, "return 13", 13, "", 0);
    row(f, "high byte set", 0x0130, "", 0);

    f = "signed";
    row(f, "plus into empty", '+', "", '+');
    row(f, "minus into empty", '-', "", '-');
    row(f, "plus after digit", '+', "3", 0);
    row(f, "minus after sign", '-', "-", 0);
    row(f, "digit after sign", '7', "-", '7');
    row(f, "slash", '/', "1", '/');
    row(f, "backspace", 8, "-", 8);
    row(f, "point 46", '.', "", 0);
    row(f, "colon 58", ':', "", 0);
    row(f, "comma 44", ',', "", 0);
    row(f, "return", 13, "", 0);

    f = "term count";
    row(f, "2", '2', "", '2');
    row(f, "5", '5', "", '5');
    row(f, "backspace", 8, "4", 8);
    row(f, "1 becomes 5", '1', "", '5');
    row(f, "6 becomes 5", '6', "", '5');
    row(f, "letter becomes 5", 'x', "", '5');
    row(f, "return becomes 5", 13, "", '5');
    row(f, "nul becomes 5", 0, "", '5');
    row(f, "highest code becomes 5", 0xffff, "", '5');

    f = "equals";
    row(f, "equals into empty", '=', "", '=');
    row(f, "equals twice", '=', "=", 0);
    row(f, "backspace in empty", 8, "", 8);
    row(f, "backspace after equals", 8, "=", 8);
    row(f, "digit", '1', "", 0);
    row(f, "less-than 60", '<', "", 0);
    row(f, "return", 13, "", 0);

    f = "operator";
    row(f, "plus into empty", '+', "", '+');
    row(f, "minus into empty", '-', "", '-');
    row(f, "plus when filled", '+', "-", 0);
    row(f, "backspace when filled", 8, "+", 8);
    row(f, "backspace in empty", 8, "", 8);
    row(f, "comma 44", ',', "", 0);
    row(f, "times", '*', "", 0);
    row(f, "digit", '3', "", 0);
    row(f, "return", 13, "", 0);
}

void TestKeyFilters::filter()
{
    QFETCH(QByteArray, filter);
    QFETCH(int, code);
    QFETCH(QByteArray, text);
    QFETCH(int, result);

    const auto key = static_cast<KeyCode>(code);
    const std::string current = text.toStdString();
    KeyCode out = 0;
    if (filter == "main")
        out = pendro::MainDigitKeyFilter(key);
    else if (filter == "digit")
        out = pendro::DigitKeyFilter(key);
    else if (filter == "signed")
        out = pendro::SignedDigitKeyFilter(key, current);
    else if (filter == "term count")
        out = pendro::TermCountKeyFilter(key);
    else if (filter == "equals")
        out = pendro::EqualsBoxKeyFilter(key, current);
    else if (filter == "operator")
        out = pendro::OperatorKeyFilter(key, current);
    else
        QFAIL("unknown filter");
    QCOMPARE(int(out), result);
}

QTEST_APPLESS_MAIN(TestKeyFilters)
#include "test_key_filters.moc"
