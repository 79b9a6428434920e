// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the browser's start-up benchmark (bench/web_bench.py): a Qt window with one label,
// as bench/label_window.cpp is on the desktop, built with the same Qt and served as Pendro is.
// It draws its word with Pendro's fonts (a page has no others) and takes the size of Pendro's
// main window as its argument ("WIDTHxHEIGHT", from the page's address ?size=...). As Pendro in
// a page, it returns from main() and lives on.

#include <QLabel>
#include <QString>
#include <QWidget>

#include "toolkit/fonts.h"
#include "web/page.h"

int main(int argc, char* argv[])
{
    pendro::web::newPageApplication(argc, argv);
    pendro::installFontSubstitutions();
    int width = 468;
    int height = 270;
    if (argc > 1) {
        const QString size = QString::fromLatin1(argv[1]);
        width = size.section(QLatin1Char('x'), 0, 0).toInt();
        height = size.section(QLatin1Char('x'), 1, 1).toInt();
    }
    auto* window = new QWidget;
    window->setWindowTitle(QStringLiteral("Pendro"));
    window->setFixedSize(width, height);
    auto* label = new QLabel(QStringLiteral("Primfaktorzerlegung:"), window);
    label->move(8, 8);
    window->move(8, 40);
    window->showNormal();
    return 0;
}
