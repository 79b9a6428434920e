// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/prime_table.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace pendro {

PrimeTableArray buildPrimeTableBySieve()
{
    // composite[n] for 0 <= n <= PrimeLimit; only odd n are marked, even n are skipped below.
    std::vector<bool> composite(static_cast<std::size_t>(PrimeLimit) + 1, false);
    for (std::int32_t i = 3; i * i <= PrimeLimit; i += 2) {
        if (composite[static_cast<std::size_t>(i)])
            continue;
        for (std::int32_t j = i * i; j <= PrimeLimit; j += 2 * i)
            composite[static_cast<std::size_t>(j)] = true;
    }

    PrimeTableArray table {};
    int count = 0;
    table[count++] = 2;
    for (std::int32_t n = 3; n <= PrimeLimit; n += 2) {
        if (!composite[static_cast<std::size_t>(n)])
            table[static_cast<std::size_t>(count++)] = n;
    }
    return table;
}

const PrimeTableArray& PrimeTable()
{
    static const PrimeTableArray table = buildPrimeTableBySieve();
    return table;
}

bool IsPrime(std::int32_t n)
{
    if (n < 2)
        return false;
    const PrimeTableArray& table = PrimeTable();
    const auto first = table.begin();
    const auto last = table.begin() + PrimeCount;
    if (n <= PrimeLimit)
        return std::binary_search(first, last, n);

    // Beyond the table: every 32-bit number has a divisor up to 46341 if it is composite, and
    // the table reaches far past that.
    const std::int64_t value = n;
    for (auto it = first; it != last; ++it) {
        const std::int64_t p = *it;
        if (p * p > value)
            return true;
        if (value % p == 0)
            return false;
    }
    return true;
}

PrimeTableArray buildPrimeTableByDivisorLoop()
{
    PrimeTableArray table {};
    int count = 0;
    for (std::int32_t n = 2; n <= PrimeLimit; ++n) {
        bool prime = true;
        if ((n % 2 == 0 || n == 1) && n != 2) {
            prime = false;
        } else {
            for (std::int32_t i = 1; i <= n - 1; i += 2) {
                if (n % i == 0 && i != 1) {
                    prime = false;
                    break;
                }
            }
        }
        if (prime && count < PrimeCount)
            table[static_cast<std::size_t>(count++)] = n;
    }
    return table;
}

} // namespace pendro
