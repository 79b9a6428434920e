// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An independent factorization for checking the program's own: plain trial division by 2 and
// every odd number, sharing nothing with the prime table. Used by the core tests and the fuzzer.
namespace pendro::reference {

// The prime factors of n in ascending order; empty for n below 2.
inline std::vector<std::uint64_t> referenceFactors(std::uint64_t n)
{
    std::vector<std::uint64_t> factors;
    for (std::uint64_t d = 2; d * d <= n; d += (d == 2 ? 1 : 2)) {
        while (n % d == 0) {
            factors.push_back(d);
            n /= d;
        }
    }
    if (n > 1)
        factors.push_back(n);
    return factors;
}

// The factors as the program writes them: "2 * 2 * 3".
inline std::string joinFactors(const std::vector<std::uint64_t>& factors)
{
    std::string text;
    for (std::uint64_t p : factors) {
        if (!text.empty())
            text += " * ";
        text += std::to_string(p);
    }
    return text;
}

} // namespace pendro::reference
