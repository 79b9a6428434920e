// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace pendro {

// The table holds the primes up to this limit; 131072 itself is tested and is not prime.
constexpr std::int32_t PrimeLimit = 131072;
constexpr int PrimeCount = 12251;
// One slot more than there are primes: index PrimeCount is never written and stays 0.
constexpr int PrimeTableSize = PrimeCount + 1;
constexpr int LastPrimeIndex = PrimeCount - 1;

using PrimeTableArray = std::array<std::int32_t, PrimeTableSize>;

// The immutable table of the primes 2..131071 in ascending order, built on first use by a
// sieve. The only global of the program.
const PrimeTableArray& PrimeTable();

// True exactly for the primes, for every 32-bit argument (negative numbers, 0 and 1 are not prime).
bool IsPrime(std::int32_t n);

// Builds a fresh table with a sieve of Eratosthenes; PrimeTable() keeps the first result.
PrimeTableArray buildPrimeTableBySieve();

// The table as the original start-up built it: every n from 2 to 131072 tested with a divisor
// loop that runs up to n - 1. Kept only so that the benchmark can show what the sieve saves.
PrimeTableArray buildPrimeTableByDivisorLoop();

} // namespace pendro
