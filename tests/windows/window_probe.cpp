// SPDX-License-Identifier: GPL-3.0-or-later
// Pendro as app/main.cpp starts it, with every window open: the main window, the help window
// and the three trainers, side by side. It writes one line per window, and one per control that
// lies outside its window or cannot show its whole text, to the file named by its argument, and
// stays open: scripts/windows.sh reads the windows' sizes on the X display and takes
// screenshots at each display scale under Wine.
//   window<TAB>objectName<TAB>title
//   clipped<TAB>objectName<TAB>control<TAB>what

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include "app/pendro_app.h"
#include "mainwin/frm_pendro.h"

namespace {

QList<QWidget*> openWindows()
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->objectName().isEmpty())
            windows.append(window);
    }
    std::sort(windows.begin(), windows.end(),
        [](const QWidget* a, const QWidget* b) { return a->objectName() < b->objectName(); });
    return windows;
}

// Top to bottom in columns, so that no window covers another in a screenshot.
void arrange(const QList<QWidget*>& windows)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    int x = screen.left() + 8, y = screen.top() + 8, columnWidth = 0;
    for (QWidget* window : windows) {
        const QSize size = window->frameGeometry().size();
        if (y > screen.top() + 8 && y + size.height() > screen.bottom()) {
            x += columnWidth + 8;
            y = screen.top() + 8;
            columnWidth = 0;
        }
        window->move(x, y);
        y += size.height() + 8;
        columnWidth = std::max(columnWidth, size.width());
    }
}

// What a control cannot show: a part outside its window, or text beyond its own rectangle
// (the ink of a one-line text; the wrapped lines of a button's caption or a wrapping label).
QString clipping(QWidget* window, QWidget* control)
{
    const QRect inWindow(control->mapTo(window, QPoint(0, 0)), control->size());
    if (!window->rect().contains(inWindow))
        return QStringLiteral("outside its window");
    QString text;
    bool wraps = false;
    QRect room = control->contentsRect();
    if (auto* label = qobject_cast<QLabel*>(control); label && label->textFormat() != Qt::RichText) {
        text = label->text();
        wraps = label->wordWrap();
        room.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        text = button->text();
        wraps = true;
        room.adjust(1, 0, -1, 0);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        text = edit->text();
    }
    if (text.isEmpty())
        return {};
    const QFontMetrics metrics = control->fontMetrics();
    const QRect needed = wraps || text.contains(QLatin1Char('\n'))
        ? metrics.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, text)
        : metrics.tightBoundingRect(text);
    if (needed.width() > room.width() || needed.height() > room.height())
        return QStringLiteral("text \"%1\" needs %2x%3, has %4x%5")
            .arg(text.left(40))
            .arg(needed.width())
            .arg(needed.height())
            .arg(room.width())
            .arg(room.height());
    return {};
}

void report(const QList<QWidget*>& windows, const QString& path)
{
    QFile file(path + QStringLiteral(".part"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    QTextStream out(&file);
    for (QWidget* window : windows)
        out << "window\t" << window->objectName() << '\t' << window->windowTitle() << '\n';
    for (QWidget* window : windows) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool isControl = qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control)
                || qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)
                || qobject_cast<QAbstractScrollArea*>(control) || qobject_cast<QMenuBar*>(control);
            if (!isControl || !control->isVisibleTo(window))
                continue;
            // Parts of another control (a combo box's line edit, a scroll area's contents).
            if (qobject_cast<QComboBox*>(control->parentWidget())
                || qobject_cast<QAbstractScrollArea*>(control->parentWidget()->parentWidget()))
                continue;
            const QString what = clipping(window, control);
            if (!what.isEmpty())
                out << "clipped\t" << window->objectName() << '\t' << control->objectName() << '\t' << what << '\n';
        }
    }
    out.flush();
    file.close();
    // Whole or not at all: the script waits for the file to appear.
    QFile::remove(path);
    file.rename(path);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("window_probe.txt");

    QTimer::singleShot(500, &application, [&pendro, path] {
        for (const char* name : { "Hilfe", "menTAS", "menTM", "menTD" }) {
            if (auto* action = pendro.mainWindow()->findChild<QAction*>(QLatin1String(name)))
                action->trigger();
        }
        QTimer::singleShot(1500, [&pendro, path] {
            const QList<QWidget*> windows = openWindows();
            arrange(windows);
            // The main window in front, as after a start: its menu bar is drawn active.
            pendro.mainWindow()->activateWindow();
            QTimer::singleShot(1000, [windows, path] { report(windows, path); });
        });
    });
    return QApplication::exec();
}
