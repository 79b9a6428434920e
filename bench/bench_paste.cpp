// SPDX-License-Identifier: GPL-3.0-or-later
// Pasting a long text with Shift+Insert, to the end of the paste handler, against the same text
// written key by key (how every paste used to reach the field) and against typing 100 keys.
// Fields: a main-window number field, a numerator of the multiplication trainer (the rule that
// admits a sign into an empty field) and the "=" box of row 2 (a rule that shows or hides the
// next box), the last both with a run of refused keys and with "=" and Backspace alternating.
// Real windows on the offscreen platform; each paste starts from an empty field.
//
// Usage: bench_paste [characters] [runs]   (default 100000 characters, 5 runs)
// The key-by-key path grows with the square of the text up to the field's 32767 characters and
// runs once per field; the paste and the typing take the median of the runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QtTest>

#include "app/pendro_app.h"
#include "mainwin/frm_pendro.h"
#include "toolkit/text_box.h"
#include "trainer/trainer_frame.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeMs(const std::function<void()>& prepare, const std::function<void()>& work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QApplication::processEvents();
        const auto begin = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    return median(times);
}

QString repeated(const QString& pattern, int length)
{
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text.append(pattern);
    text.truncate(length);
    return text;
}

void pasteWithShiftInsert(pendro::TextBox* field)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
    QApplication::sendEvent(field, &press);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int length = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;
    pendro.showTrainer(pendro::TrainerKind::Mul);
    pendro::TrainerFrame* trainer = pendro.trainerWindow(pendro::TrainerKind::Mul);
    trainer->cbNeu->click();
    QApplication::processEvents();

    const struct
    {
        const char* name;
        pendro::TextBox* field;
        QString pattern;
    } cases[] = {
        { "frmPendro txtZ1_0, digits",
            pendro.mainWindow()->findChild<pendro::TextBox*>(QStringLiteral("txtZ1_0")),
            QStringLiteral("1234567890") },
        { "frmTM txtZ1_0, sign and digits", trainer->txtZ1[0], QStringLiteral("-1234567890") },
        { "frmTM txtG2, \"=\" and refused keys", trainer->txtG2, QStringLiteral("=1234567890") },
        { "frmTM txtG2, \"=\" and Backspace", trainer->txtG2, QStringLiteral("=\b") },
        { "frmTM cbAG, digits", trainer->cbAG->textBox(), QStringLiteral("1234567890") },
    };

    std::printf("%d characters pasted into an empty field; typing: 100 keys (median of %d)\n",
        length, runs);
    std::printf("%-36s %14s %12s %14s\n", "field", "key by key", "paste", "typing 100");
    for (const auto& test : cases) {
        pendro::TextBox* field = test.field;
        const QString text = repeated(test.pattern, length);
        const QString typed = repeated(test.pattern, 100);
        field->show();
        field->setFocus();
        auto empty = [field] {
            field->clear();
            field->setFocus();
        };
        QApplication::clipboard()->setText(text);
        const double before = timeMs(
            empty, [&] { field->typeTextKeyByKey(QApplication::clipboard()->text()); }, 1);
        const QString keyByKeyResult = field->text();
        const double after = timeMs(
            empty, [&] { pasteWithShiftInsert(field); }, runs);
        const bool same = field->text() == keyByKeyResult;
        const double typing = timeMs(
            empty, [&] { QTest::keyClicks(field, typed); }, runs);
        std::printf("%-36s %11.1f ms %9.2f ms %11.2f ms%s\n", test.name, before, after, typing,
            same ? "" : "  (texts differ!)");
    }
    std::printf("target: the paste under 50 ms\n");
    return EXIT_SUCCESS;
}
