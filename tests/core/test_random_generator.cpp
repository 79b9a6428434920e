// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random_generator.h"

#include <QtTest>

#include <array>
#include <set>

namespace {

pendro::RandomGenerator::Clock fixedClock(std::uint64_t reading)
{
    return [reading] { return reading; };
}

} // namespace

class TestRandomGenerator : public QObject
{
    Q_OBJECT

private slots:
    void drawsStayBelowOne_data();
    void drawsStayBelowOne();
    void sameClockAndStateRepeat();
    void reseedAtSameClockReadingStillChanges_data();
    void reseedAtSameClockReadingStillChanges();
    void reseedDependsOnClock();
    void oneToTenIsCoveredEvenly();
    void defaultConstructedDraws();
};

void TestRandomGenerator::drawsStayBelowOne_data()
{
    QTest::addColumn<quint64>("state");
    QTest::newRow("zero") << quint64(0);
    QTest::newRow("one") << quint64(1);
    QTest::newRow("all bits") << ~quint64(0);
    QTest::newRow("arbitrary") << quint64(0x0123456789abcdefULL);
}

void TestRandomGenerator::drawsStayBelowOne()
{
    QFETCH(quint64, state);
    pendro::RandomGenerator generator(fixedClock(5), state);
    float lowest = 1;
    float highest = 0;
    for (int i = 0; i < 200000; ++i) {
        if (i % 1000 == 0)
            generator.reseedFromClock();
        const float r = generator.draw();
        QVERIFY(r >= 0.0f);
        QVERIFY(r < 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    // The range is used, not just a corner of it.
    QVERIFY(lowest < 0.001f);
    QVERIFY(highest > 0.999f);
}

void TestRandomGenerator::sameClockAndStateRepeat()
{
    pendro::RandomGenerator a(fixedClock(1234), 99);
    pendro::RandomGenerator b(fixedClock(1234), 99);
    pendro::RandomGenerator other(fixedClock(1234), 100);
    a.reseedFromClock();
    b.reseedFromClock();
    other.reseedFromClock();
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const float r = a.draw();
        QCOMPARE(b.draw(), r);
        differs = differs || other.draw() != r;
    }
    QCOMPARE(a.state(), b.state());
    QVERIFY(differs);
}

void TestRandomGenerator::reseedAtSameClockReadingStillChanges_data()
{
    QTest::addColumn<quint64>("reading");
    QTest::addColumn<quint64>("state");
    QTest::newRow("zero clock, zero state") << quint64(0) << quint64(0);
    QTest::newRow("clock equals state") << quint64(777) << quint64(777);
    QTest::newRow("nanosecond reading") << quint64(1718000000123456789ULL) << quint64(42);
    QTest::newRow("all bits") << ~quint64(0) << ~quint64(0);
}

void TestRandomGenerator::reseedAtSameClockReadingStillChanges()
{
    QFETCH(quint64, reading);
    QFETCH(quint64, state);

    // Re-seeding twice within one clock tick, without drawing in between.
    pendro::RandomGenerator generator(fixedClock(reading), state);
    std::set<std::uint64_t> states;
    std::set<float> firstDraws;
    for (int i = 0; i < 50; ++i) {
        generator.reseedFromClock();
        states.insert(generator.state());
        pendro::RandomGenerator copy = generator;
        firstDraws.insert(copy.draw());
    }
    QCOMPARE(states.size(), std::size_t(50));
    QVERIFY(firstDraws.size() > 45);

    // Re-seeding between draws, as an exercise generator does for each new task.
    pendro::RandomGenerator drawing(fixedClock(reading), state);
    drawing.reseedFromClock();
    const float first = drawing.draw();
    drawing.reseedFromClock();
    const float second = drawing.draw();
    QVERIFY(first != second);
}

void TestRandomGenerator::reseedDependsOnClock()
{
    pendro::RandomGenerator a(fixedClock(1000), 7);
    pendro::RandomGenerator b(fixedClock(1001), 7);
    a.reseedFromClock();
    b.reseedFromClock();
    QVERIFY(a.state() != b.state());
    QVERIFY(a.draw() != b.draw());
}

void TestRandomGenerator::oneToTenIsCoveredEvenly()
{
    pendro::RandomGenerator generator(fixedClock(31337), 1);
    generator.reseedFromClock();
    std::array<int, 11> counts {};
    const int draws = 100000;
    for (int i = 0; i < draws; ++i) {
        const int value = static_cast<int>(generator.draw() * 10 + 1);
        QVERIFY(value >= 1 && value <= 10);
        ++counts[static_cast<std::size_t>(value)];
    }
    // Expected 10000 each; the standard deviation is about 95.
    for (int value = 1; value <= 10; ++value)
        QVERIFY2(counts[static_cast<std::size_t>(value)] > 9500
                && counts[static_cast<std::size_t>(value)] < 10500,
            qPrintable(QStringLiteral("%1 drawn %2 times")
                           .arg(value)
                           .arg(counts[static_cast<std::size_t>(value)])));
}

void TestRandomGenerator::defaultConstructedDraws()
{
    pendro::RandomGenerator generator;
    generator.reseedFromClock();
    const std::uint64_t before = generator.state();
    const float r = generator.draw();
    QVERIFY(r >= 0.0f && r < 1.0f);
    QVERIFY(generator.state() != before);
}

QTEST_APPLESS_MAIN(TestRandomGenerator)
#include "test_random_generator.moc"
