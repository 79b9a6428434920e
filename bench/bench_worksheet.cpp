// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheets: a sheet of thirty exercises with its solution pages, at the widest settings of
// each kind (five terms, three numbers up to 10,000), made and written to a file as "Speichern"
// and the command line do. The first sheet of the run separately (it loads the fonts), then the
// median and worst of the rest; the size of each PDF and its pages. Budget: under 200 ms and
// under 100 KB a sheet. A blank one-page PDF with the same writer is the yardstick beside it.
//
// Usage: bench_worksheet [runs]   (default 21)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "toolkit/file_saving.h"
#include "toolkit/fonts.h"
#include "worksheet/worksheet_content.h"
#include "worksheet/worksheet_pdf.h"

namespace {

using Clock = std::chrono::steady_clock;

double elapsedMs(Clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

int pageCount(const QByteArray& pdf)
{
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    pendro::installFontSubstitutions();
    const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 21;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));

    // The yardstick: a blank A4 page from the same writer.
    std::vector<double> blank;
    for (int i = 0; i < runs; ++i) {
        const auto begin = Clock::now();
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        painter.end();
        blank.push_back(elapsedMs(begin));
    }
    std::sort(blank.begin(), blank.end());
    std::printf("blank page: %.2f ms (median of %d)\n", blank[blank.size() / 2], runs);

    for (const pendro::WorksheetKindInfo& info : pendro::WorksheetKinds) {
        pendro::WorksheetSettings settings;
        settings.kind = info.kind;
        settings.terms = pendro::maxTerms(info.kind) > 0 ? pendro::maxTerms(info.kind) : 2;
        settings.negativeNumerators
            = info.kind == pendro::WorksheetKind::Mul || info.kind == pendro::WorksheetKind::Div;
        settings.range = 10000;
        settings.count = pendro::MaxExercises;
        std::vector<double> times;
        QByteArray pdf;
        for (int i = 0; i < runs; ++i) {
            settings.sheetNumber = static_cast<std::uint32_t>(1000 + i);
            const auto begin = Clock::now();
            pdf = pendro::worksheetPdf(settings);
            if (!pendro::writeFileReplacing(path, pdf).isEmpty())
                return EXIT_FAILURE;
            times.push_back(elapsedMs(begin));
        }
        const double first = times.front();
        times.erase(times.begin());
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%-24s 30 exercises with solutions: first %.1f ms, median %.1f ms, worst "
                    "%.1f ms (%.0fx the blank page), %lld bytes, %d pages (budget 200 ms, "
                    "100 KB)\n",
            info.caption, first, median, times.back(), median / blank[blank.size() / 2],
            static_cast<long long>(pdf.size()), pageCount(pdf));
    }
    return EXIT_SUCCESS;
}
