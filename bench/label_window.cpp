// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for bench_display: a Qt window that shows one line of text, of the size given as
// "WIDTHxHEIGHT" on the command line (bench_display passes the size of Pendro's main window).
// Drawing one word makes Qt load fontconfig's configuration and a font, as every program that
// shows text must; an empty window would skip that and be no fair floor.

#include <cstdlib>

#include <QApplication>
#include <QLabel>
#include <QString>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    int width = 468;
    int height = 270;
    if (argc > 1) {
        const QString size = QString::fromLatin1(argv[1]);
        width = size.section(QLatin1Char('x'), 0, 0).toInt();
        height = size.section(QLatin1Char('x'), 1, 1).toInt();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pendro"));
    window.setFixedSize(width, height);
    auto* label = new QLabel(QStringLiteral("Primfaktorzerlegung:"), &window);
    label->move(8, 8);
    window.show();
    return QApplication::exec();
}
