// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The factorization run behind the main window's "Start" button and behind HNBerechnen, over a
// plain copy of the main window's working area. The window copies its fields into a WorkArea,
// runs it and writes the texts back; the run itself knows nothing of widgets.
namespace pendro {

constexpr int NumberFieldCount = 8;

// Shown in a factor field instead of the factors when a number cannot be decomposed.
inline constexpr const char* RejectionMessage
    = "Die eingegebene Zahl ist zu gro\xc3\x9f f\xc3\xbcr die Primfaktorzerlegung.";

struct WorkArea
{
    std::array<std::string, NumberFieldCount> numbers; // txtZ1(0..7), UTF-8
    std::array<std::string, NumberFieldCount> factors; // txtPF1(0..7)
    std::string ggt; // caption of lblGGT
    std::string kgv; // caption of lblKGV
};

enum class FactorizationMode {
    // "Start": numbers above 131072 are factored when every prime factor lies in the table.
    Lenient,
    // HNBerechnen: every number above 131072 is rejected before the first trial division.
    Strict,
};

// Reading, factorization, rejection, then ComputeGGT and ComputeKGV. A field holding exactly
// "0" is emptied; a text that is not a number, or beyond the double range, is rejected.
void runFactorization(WorkArea& area, FactorizationMode mode);

// The ggT of the accepted fields (number text not empty, factor text not rejected), by Euclid
// in field order; empty caption when there is none or it is 0.
void ComputeGGT(WorkArea& area);

// The kgV from the accepted factor texts: p to the power e by repeated double multiplication,
// multiplied in ascending order of primes; "1" when no factor text was accepted.
void ComputeKGV(WorkArea& area);

// Euclid by remainders. GGTOfTwo(a, 0) is a, so a zero value leaves the others' ggT.
std::int64_t GGTOfTwo(std::int64_t a, std::int64_t b);

// A factor text counts as rejected when it starts with the message's first letter.
bool isRejected(const std::string& factorText);

} // namespace pendro
