// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the core computations: the prime table built by the old divisor loop against the
// sieve, and a factorization run over eight numbers near 2^31 in both modes.

#include "core/factorization.h"
#include "core/prime_table.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Keeps results alive so that the optimizer cannot drop the measured work.
volatile std::int64_t g_sink = 0;

double medianMilliseconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        const auto stop = Clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::int64_t checksum(const pendro::PrimeTableArray& table)
{
    std::int64_t sum = 0;
    for (std::int32_t p : table)
        sum += p;
    return sum;
}

pendro::WorkArea nearTwoToThe31()
{
    pendro::WorkArea area;
    // Primes and near-primes force the trial division through the whole table; the others
    // split into small factors or need the last table prime.
    area.numbers = { "2147483647", "2147483629", "2147483587", "2147483646", "2147483563",
        "2147483543", "2147483497", "2147467264" };
    return area;
}

} // namespace

int main(int argc, char** argv)
{
    const int loopRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    const pendro::PrimeTableArray reference = pendro::buildPrimeTableBySieve();
    const double divisorLoop = medianMilliseconds(loopRuns, [&] {
        const auto table = pendro::buildPrimeTableByDivisorLoop();
        g_sink = g_sink + checksum(table);
        if (table != reference)
            std::fputs("divisor loop and sieve disagree\n", stderr);
    });
    const double sieve = medianMilliseconds(
        201, [] { g_sink = g_sink + checksum(pendro::buildPrimeTableBySieve()); });
    std::printf("prime table: divisor loop %.1f ms, sieve %.3f ms, ratio %.0fx\n", divisorLoop,
        sieve, divisorLoop / sieve);

    for (const auto mode :
        { pendro::FactorizationMode::Lenient, pendro::FactorizationMode::Strict }) {
        const pendro::WorkArea input = nearTwoToThe31();
        pendro::WorkArea area;
        const double run = medianMilliseconds(1001, [&] {
            area = input;
            pendro::runFactorization(area, mode);
            g_sink = g_sink + static_cast<std::int64_t>(area.kgv.size());
        });
        std::printf("factorization of eight numbers near 2^31 (%s): %.4f ms, kgV %s\n",
            mode == pendro::FactorizationMode::Lenient ? "Lenient" : "Strict", run,
            area.kgv.c_str());
    }
    return 0;
}
