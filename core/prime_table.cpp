// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/prime_table.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace pendro {

PrimeTableArray buildPrimeTableBySieve()
{
    // composite[k] tells whether the odd number 2k + 1 is composite, for k = 0 .. 65535, that is
    // 1 .. 131071; a byte per odd number marks and reads quicker than a bit per number, and the
    // start-up builds this table before the main window can show its list.
    constexpr std::size_t OddCount = static_cast<std::size_t>(PrimeLimit) / 2;
    std::vector<unsigned char> composite(OddCount, 0);
    for (std::size_t k = 1; (2 * k + 1) * (2 * k + 1) <= static_cast<std::size_t>(PrimeLimit);
         ++k) {
        if (composite[k])
            continue;
        const std::size_t p = 2 * k + 1;
        for (std::size_t j = p * p / 2; j < OddCount; j += p)
            composite[j] = 1;
    }

    PrimeTableArray table {};
    std::size_t count = 0;
    table[count++] = 2;
    for (std::size_t k = 1; k < OddCount; ++k) {
        if (!composite[k])
            table[count++] = static_cast<std::int32_t>(2 * k + 1);
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
