// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Pendro side by side with an empty Qt window of the same size, both built in this
// tree: wall time from starting the process to the first paint of its window, and peak memory,
// each the median over repeated alternating starts on the offscreen platform.
//
// Usage: bench_startup [runs]   (default 21)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace {

struct Start
{
    double milliseconds = 0;
    long peakKilobytes = 0;
};

bool measure(const QString& program, Start& start)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    const auto begin = std::chrono::steady_clock::now();
    process.start(program, {});
    if (!process.waitForStarted(10000))
        return false;
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(30000))
            return false;
    }
    const auto painted = std::chrono::steady_clock::now();
    const QString line = QString::fromLatin1(process.readLine()).trimmed();
    process.waitForFinished(10000);
    start.milliseconds = std::chrono::duration<double, std::milli>(painted - begin).count();
    start.peakKilobytes = line.section(QLatin1Char(' '), 1, 1).toLong();
    return line.startsWith(QLatin1String("painted"));
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString pendro = QDir(dir).filePath(QStringLiteral("startup_pendro"));
    const QString empty = QDir(dir).filePath(QStringLiteral("startup_empty_window"));

    std::vector<double> pendroTimes, emptyTimes;
    std::vector<long> pendroMemory, emptyMemory;
    for (int i = 0; i < runs + 1; ++i) {
        Start a, b;
        if (!measure(pendro, a) || !measure(empty, b)) {
            std::fprintf(stderr, "a start did not reach its first paint\n");
            return EXIT_FAILURE;
        }
        if (i == 0)
            continue; // the first pair only warms the file cache
        pendroTimes.push_back(a.milliseconds);
        emptyTimes.push_back(b.milliseconds);
        pendroMemory.push_back(a.peakKilobytes);
        emptyMemory.push_back(b.peakKilobytes);
    }
    const double pendroMs = median(pendroTimes);
    const double emptyMs = median(emptyTimes);
    const long pendroKb = median(pendroMemory);
    const long emptyKb = median(emptyMemory);
    std::printf("start-up to first paint (median of %d): Pendro %.1f ms, empty window %.1f ms, "
                "ratio %.2f (target at most 1.5)\n",
        runs, pendroMs, emptyMs, pendroMs / emptyMs);
    std::printf("peak memory (median): Pendro %.1f MiB, empty window %.1f MiB, difference %.1f MiB "
                "(target at most 8 MiB)\n",
        pendroKb / 1024.0, emptyKb / 1024.0, (pendroKb - emptyKb) / 1024.0);
    return EXIT_SUCCESS;
}
