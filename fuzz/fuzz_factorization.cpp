// SPDX-License-Identifier: GPL-3.0-or-later
// The factorization run over eight arbitrary number texts, lenient ("Start") and strict
// (HNBerechnen). Every field's outcome is compared with a factorization by plain trial division,
// the ggT with std::gcd and the kgV with an exact 128-bit least common multiple.
//
// The first byte chooses how the rest becomes eight texts:
//   0  raw text, fields separated by '\n' (the eighth takes the rest)
//   1  eight little-endian 32-bit numbers in decimal (reaches the 2^31 boundary)
//   2  per field up to four table primes (16-bit indices) multiplied while below 2^32, so that
//      large numbers whose factors all lie in the table come up often
#include "core/factorization.h"
#include "core/number_text.h"
#include "core/prime_table.h"
#include "fuzz/fuzz_check.h"
#include "tests/reference_factorization.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace pendro;
using namespace pendro::fuzz;
using pendro::reference::joinFactors;
using pendro::reference::referenceFactors;

namespace {

using Texts = std::array<std::string, NumberFieldCount>;

Texts decode(const std::uint8_t* data, std::size_t size)
{
    Texts texts;
    if (size == 0)
        return texts;
    const unsigned selector = data[0] % 3;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

    if (selector == 0) {
        std::string_view remaining = rest;
        for (std::size_t i = 0; i < NumberFieldCount && !remaining.empty(); ++i) {
            const std::size_t end
                = i + 1 < NumberFieldCount ? remaining.find('\n') : std::string_view::npos;
            texts[i] = std::string(remaining.substr(0, end));
            remaining
                = end == std::string_view::npos ? std::string_view() : remaining.substr(end + 1);
        }
    } else if (selector == 1) {
        for (std::size_t i = 0; i < NumberFieldCount && 4 * i + 4 <= rest.size(); ++i) {
            std::uint32_t value = 0;
            std::memcpy(&value, rest.data() + 4 * i, 4);
            texts[i] = std::to_string(value);
        }
    } else {
        const PrimeTableArray& table = PrimeTable();
        for (std::size_t i = 0; i < NumberFieldCount && 8 * i + 8 <= rest.size(); ++i) {
            std::uint64_t product = 1;
            for (std::size_t j = 0; j < 4; ++j) {
                std::uint16_t index = 0;
                std::memcpy(&index, rest.data() + 8 * i + 2 * j, 2);
                const std::uint64_t p = static_cast<std::uint64_t>(table[index % PrimeCount]);
                if (product * p < (std::uint64_t { 1 } << 32))
                    product *= p;
            }
            texts[i] = std::to_string(product);
        }
    }
    return texts;
}

// "2 * 2 * 3" back into its factors; nullopt when the text does not have exactly that form.
std::optional<std::vector<std::uint64_t>> readFactorText(std::string_view text)
{
    std::vector<std::uint64_t> factors;
    for (;;) {
        const std::size_t separator = text.find(" * ");
        const std::string_view part = text.substr(0, separator);
        if (part.empty() || part.size() > 9 || !allDigits(part) || part.front() == '0')
            return std::nullopt;
        factors.push_back(std::stoull(std::string(part)));
        if (separator == std::string_view::npos)
            return factors;
        text.remove_prefix(separator + 3);
    }
}

// What a field's text means to the run.
struct FieldValue
{
    bool empty = false; // no text, or exactly "0"
    bool number = false; // "[+|-]digits" within the double range
    double value = 0;
};

FieldValue classify(const std::string& text)
{
    FieldValue field;
    if (text.empty() || text == "0") {
        field.empty = true;
        return field;
    }
    SignedDigitText parts;
    if (!splitSignedDigitText(text, parts))
        return field;
    errno = 0;
    const double magnitude = std::strtod(std::string(parts.digits).c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(magnitude))
        return field;
    field.number = true;
    field.value = parts.negative ? -magnitude : magnitude;
    return field;
}

void checkRun(const Texts& texts, const std::array<FieldValue, NumberFieldCount>& fields,
    const std::array<std::vector<std::uint64_t>, NumberFieldCount>& reference,
    FactorizationMode mode)
{
    WorkArea area;
    area.numbers = texts;
    area.factors.fill("stale");
    area.ggt = "stale";
    area.kgv = "stale";
    runFactorization(area, mode);

    const bool strict = mode == FactorizationMode::Strict;
    const auto largestTablePrime
        = static_cast<std::uint64_t>(PrimeTable()[static_cast<std::size_t>(LastPrimeIndex)]);
    std::string inputs;
    for (const std::string& text : texts)
        inputs += quoted(text) + " ";
    inputs += strict ? "(strict)" : "(lenient)";

    std::vector<std::int64_t> accepted; // values of the fields that count for the ggT
    std::vector<std::uint64_t> factored; // values with a factor text, for the kgV
    bool negativeAccepted = false;

    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        const FieldValue& field = fields[i];
        const std::string& factors = area.factors[i];
        const std::string detail
            = "field " + std::to_string(i) + ": " + quoted(factors) + " in " + inputs;
        FUZZ_CHECK(area.numbers[i] == (texts[i] == "0" ? std::string() : texts[i]), detail);

        if (field.empty) {
            FUZZ_CHECK(factors.empty(), detail);
            continue;
        }
        if (!field.number) {
            FUZZ_CHECK(factors == RejectionMessage, detail);
            continue;
        }
        const double v = field.value;
        if (v < 0) {
            // Only pasting could bring a sign into a main-window field, and the key hook filters
            // pastes too; here the run only has to stay sound: a rejection, or table primes in
            // ascending order that divide the number.
            if (factors == RejectionMessage)
                continue;
            const auto read
                = factors.empty() ? std::vector<std::uint64_t>() : readFactorText(factors);
            FUZZ_CHECK(read.has_value(), detail);
            std::uint64_t product = 1;
            for (std::size_t k = 0; k < read->size(); ++k) {
                const std::uint64_t p = (*read)[k];
                FUZZ_CHECK(p <= static_cast<std::uint64_t>(PrimeLimit)
                        && IsPrime(static_cast<std::int32_t>(p)),
                    detail);
                FUZZ_CHECK(k == 0 || (*read)[k - 1] <= p, detail);
                product *= p;
            }
            FUZZ_CHECK(std::fmod(-v, static_cast<double>(product)) == 0, detail);
            accepted.push_back(static_cast<std::int64_t>(v));
            negativeAccepted = true;
            continue;
        }

        bool expectRejected = v >= 2147483648.0 || (strict && v > PrimeLimit);
        // Lenient: a large number passes only when all its prime factors lie in the table.
        if (!expectRejected && v > PrimeLimit)
            expectRejected = reference[i].back() > largestTablePrime;
        if (expectRejected) {
            FUZZ_CHECK(factors == RejectionMessage, detail);
            continue;
        }
        // Accepted: the factors multiply back to the number (none for 0 and 1).
        FUZZ_CHECK(factors == joinFactors(reference[i]),
            detail + " expected " + quoted(joinFactors(reference[i])));
        accepted.push_back(static_cast<std::int64_t>(v));
        if (!factors.empty())
            factored.push_back(static_cast<std::uint64_t>(v));
    }

    // ggT: empty when there is none or it is 0; otherwise it divides every accepted number.
    std::int64_t gcd = 0;
    for (std::int64_t value : accepted)
        gcd = std::gcd(gcd, value);
    const std::string ggtDetail = "ggT " + quoted(area.ggt) + " in " + inputs;
    if (gcd == 0) {
        FUZZ_CHECK(area.ggt.empty(), ggtDetail);
    } else {
        const auto shown = parseInt32(area.ggt);
        FUZZ_CHECK(shown.has_value() && std::abs(std::int64_t { *shown }) == gcd, ggtDetail);
        if (!negativeAccepted)
            FUZZ_CHECK(area.ggt == formatInt(gcd), ggtDetail);
        for (std::int64_t value : accepted)
            FUZZ_CHECK(value % *shown == 0, ggtDetail);
    }

    // kgV: the exact least common multiple, shown as a double.
    const std::string kgvDetail = "kgV " + quoted(area.kgv) + " in " + inputs;
    FUZZ_CHECK(!area.kgv.empty() && area.kgv.find("inf") == std::string::npos
            && area.kgv.find("nan") == std::string::npos && area.kgv.front() != '-',
        kgvDetail);
    if (negativeAccepted)
        return;
    // The least common multiple from the reference factorizations: exact while it fits into
    // 64 bits, otherwise as a long double (64-bit mantissa, far finer than the 15 digits shown).
    std::map<std::uint64_t, int> exponents;
    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        if (area.factors[i].empty() || isRejected(area.factors[i]))
            continue;
        std::map<std::uint64_t, int> counts;
        for (std::uint64_t p : reference[i])
            ++counts[p];
        for (const auto& [p, count] : counts)
            exponents[p] = std::max(exponents[p], count);
    }
    unsigned __int128 lcm = 1;
    long double approximate = 1;
    bool fits = true;
    for (const auto& [p, exponent] : exponents) {
        for (int e = 0; e < exponent; ++e) {
            approximate *= static_cast<long double>(p);
            lcm *= p;
            fits = fits && lcm < (static_cast<unsigned __int128>(1) << 64);
        }
    }
    if (fits && lcm < (static_cast<unsigned __int128>(1) << 53)) {
        FUZZ_CHECK(area.kgv == formatDouble(static_cast<double>(lcm)),
            kgvDetail + " expected " + formatDouble(static_cast<double>(lcm)));
        if (allDigits(area.kgv)) {
            const std::uint64_t shown = std::stoull(area.kgv);
            for (std::uint64_t value : factored)
                FUZZ_CHECK(shown % value == 0, kgvDetail);
        }
    } else {
        // Beyond 2^53 the repeated double multiplication may lose the last digits.
        std::string text = area.kgv;
        for (char& c : text) {
            if (c == ',')
                c = '.';
        }
        const long double shown = std::strtold(text.c_str(), nullptr);
        FUZZ_CHECK(std::fabs(shown - approximate) <= 1e-12L * approximate, kgvDetail);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Texts texts = decode(data, size);
    std::array<FieldValue, NumberFieldCount> fields;
    std::array<std::vector<std::uint64_t>, NumberFieldCount> reference;
    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        fields[i] = classify(texts[i]);
        const double v = fields[i].value;
        if (fields[i].number && v >= 2 && v < 4294967296.0)
            reference[i] = referenceFactors(static_cast<std::uint64_t>(v));
    }
    checkRun(texts, fields, reference, FactorizationMode::Lenient);
    checkRun(texts, fields, reference, FactorizationMode::Strict);
    return 0;
}
