// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

#include "app/pendro_app.h"
#include "toolkit/text_box.h"

// Shared by the window tests: the application set up as main() does, controls found by their
// objectName only, and a quick way to see which windows are still on screen.
namespace pendro::testing {

// The offscreen platform warns about every window feature it lacks (raise, size hints); such
// lines would bury the messages that matter.
inline QtMessageHandler previousMessageHandler = nullptr;

inline void dropPlatformNotices(
    QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousMessageHandler(type, context, text);
}

inline void prepareApplication()
{
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    Q_ASSERT(application);
    configureApplication(*application);
    // Tests close every window many times over; that must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!previousMessageHandler)
        previousMessageHandler = qInstallMessageHandler(dropPlatformNotices);
}

// A missing control is a broken window, not a failed expectation: stop at once with its name
// instead of crashing on a null pointer later.
template <typename T> T* control(const QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no control named %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}
template <typename T> T* control(const QWidget* window, const char* name)
{
    return control<T>(window, QString::fromLatin1(name));
}

// The objectName of member index of a control array: "txtZ1_3".
inline QString arrayMember(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

inline QLineEdit* field(const QWidget* window, const QString& name)
{
    return control<QLineEdit>(window, name);
}

inline QString caption(const QWidget* window, const QString& name)
{
    return control<QLabel>(window, name)->text();
}

inline bool shown(const QWidget* window, const QString& name)
{
    return control<QWidget>(window, name)->isVisible();
}

inline void click(const QWidget* window, const QString& name)
{
    QTest::mouseClick(control<QWidget>(window, name), Qt::LeftButton);
}

inline void doubleClick(const QWidget* window, const QString& name)
{
    QTest::mouseDClick(control<QWidget>(window, name), Qt::LeftButton);
}

// Types text into an emptied field as a pupil would, key by key through the field's rule; false
// when the rule refused part of it.
inline bool type(const QWidget* window, const QString& name, const QString& text)
{
    QLineEdit* target = field(window, name);
    target->clear();
    QTest::keyClicks(target, text);
    return target->text() == text;
}

// Every trainer kind, in the order of the menu.
inline std::vector<TrainerKind> allTrainerKinds()
{
    std::vector<TrainerKind> kinds;
    for (const TrainerKindEntry& entry : TrainerKinds)
        kinds.push_back(entry.data.kind);
    return kinds;
}

inline QStringList visibleWindowNames()
{
    QStringList names;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

// Processor time of the whole test in milliseconds: what the hang detectors measure, so that
// other work on a loaded machine does not count.
inline double processorMs()
{
    return 1000.0 * double(std::clock()) / double(CLOCKS_PER_SEC);
}

// The processor time, in milliseconds, that typing each character of keys into field costs, one
// key press at a time as a pupil types them. The keys go in runs of twenty, each from the field's
// text as it was, so that the text stays short; the field ends as it started. The tests' time
// limits are multiples of such a yardstick measured in the same run, so that a slower build (the
// sanitizers are several times slower) or a slower machine moves the limit along with the work,
// while work that grows faster than its input still crosses it.
inline double typingCostMs(QLineEdit* field, QStringView keys)
{
    constexpr qsizetype Run = 20;
    const QString before = field->text();
    double cost = 0;
    for (qsizetype from = 0; from < keys.size(); from += Run) {
        const double start = processorMs();
        for (const QChar ch : keys.mid(from, Run)) {
            int key = Qt::Key_unknown;
            if (ch == u'\b')
                key = Qt::Key_Backspace;
            else if (ch.unicode() < 0x80 && ch.isLetterOrNumber())
                key = ch.toUpper().unicode();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(field, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(field, &release);
        }
        cost += processorMs() - start;
        field->setText(before);
    }
    return cost;
}

// What one typed key costs in a plain text box, in milliseconds of processor time: the median of
// five rounds of 2,000 keys, after a round that warms the box up.
inline double processorMsPerTypedKey()
{
    constexpr int Keys = 2000;
    QString keys;
    for (int i = 0; i < Keys; ++i)
        keys.append(QChar(u'0' + i % 10));
    TextBox box;
    typingCostMs(&box, keys);
    std::array<double, 5> rounds {};
    for (double& round : rounds)
        round = typingCostMs(&box, keys) / Keys;
    std::sort(rounds.begin(), rounds.end());
    return rounds[2];
}

} // namespace pendro::testing
