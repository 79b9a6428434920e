// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/factorization.h"

#include "core/number_text.h"
#include "core/prime_table.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace pendro {

namespace {

// The nearest whole number, halves away from zero, when it fits into 32 bits.
std::optional<std::int32_t> nearestInt32(double value)
{
    if (!(value < 2147483647.5 && value > -2147483648.5))
        return std::nullopt;
    return static_cast<std::int32_t>(std::llround(value));
}

// Trial division by the table primes in ascending order, dividing the double value and
// re-reading it as a whole number before each test. Returns false when the number is refused.
// A number above PrimeLimit is refused once only the last table prime is left to try (Lenient)
// or right away (Strict).
bool factorize(double number, FactorizationMode mode, std::string& factors)
{
    const PrimeTableArray& table = PrimeTable();
    int k = 0;
    for (;;) {
        if (number == 0)
            return true;
        if (number > PrimeLimit && (mode == FactorizationMode::Strict || k == LastPrimeIndex))
            return false;
        const auto whole = nearestInt32(number);
        if (!whole)
            return false;
        const std::int32_t p = table[static_cast<std::size_t>(k)];
        if (*whole % p != 0) {
            ++k;
            if (k > LastPrimeIndex)
                return true;
            continue;
        }
        if (!factors.empty())
            factors += " * ";
        factors += std::to_string(p);
        number = number / p;
        if (number == 1)
            return true;
    }
}

// "2 * 2 * 3" into its factors; nullopt when a part is not a 32-bit whole number.
std::optional<std::vector<std::int32_t>> parseFactorText(std::string_view text)
{
    std::vector<std::int32_t> result;
    for (;;) {
        const std::size_t star = text.find('*');
        std::string_view part = text.substr(0, star);
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        const auto value = parseInt32(part);
        if (!value)
            return std::nullopt;
        result.push_back(*value);
        if (star == std::string_view::npos)
            return result;
        text.remove_prefix(star + 1);
    }
}

} // namespace

bool isRejected(const std::string& factorText)
{
    return !factorText.empty() && factorText[0] == 'D';
}

std::int64_t GGTOfTwo(std::int64_t a, std::int64_t b)
{
    if (b == 0)
        return a;
    std::int64_t r = a % b;
    while (r != 0) {
        a = b;
        b = r;
        r = a % b;
    }
    return b;
}

void runFactorization(WorkArea& area, FactorizationMode mode)
{
    std::array<double, NumberFieldCount> numbers {};
    std::array<bool, NumberFieldCount> refused {};

    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        if (area.numbers[i] == "0")
            area.numbers[i].clear();
        area.factors[i].clear();
        if (area.numbers[i].empty())
            continue;
        // The number fields take digits only; a negative number (which only a caller writing
        // the text itself could put there) has no prime factorization and is refused as well.
        const auto value = parseDouble(area.numbers[i]);
        if (value && !(*value < 0))
            numbers[i] = *value;
        else
            refused[i] = true;
    }

    for (std::size_t j = 0; j < NumberFieldCount; ++j) {
        if (!refused[j])
            refused[j] = !factorize(numbers[j], mode, area.factors[j]);
        if (refused[j])
            area.factors[j] = RejectionMessage;
    }

    ComputeGGT(area);
    ComputeKGV(area);
}

void ComputeGGT(WorkArea& area)
{
    std::vector<std::int64_t> values;
    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        if (area.numbers[i].empty() || isRejected(area.factors[i]))
            continue;
        if (const auto value = parseInt32(area.numbers[i]))
            values.push_back(*value);
    }

    std::int64_t ggt = 0;
    if (values.size() > 1) {
        ggt = GGTOfTwo(values[0], values[1]);
        for (std::size_t i = 2; i < values.size(); ++i)
            ggt = GGTOfTwo(ggt, values[i]);
    } else if (values.size() == 1) {
        ggt = values[0];
    }
    area.ggt = ggt != 0 ? formatInt(ggt) : std::string();
}

void ComputeKGV(WorkArea& area)
{
    // The highest power of each prime over the accepted factor texts. Only table primes count:
    // the product below runs over the table.
    std::map<std::int32_t, int> exponents;
    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        const std::string& text = area.factors[i];
        if (text.empty() || isRejected(text))
            continue;
        const auto factors = parseFactorText(text);
        if (!factors)
            continue;
        std::map<std::int32_t, int> counts;
        for (std::int32_t factor : *factors) {
            if (factor <= PrimeLimit && IsPrime(factor))
                ++counts[factor];
        }
        for (const auto& [prime, count] : counts)
            exponents[prime] = std::max(exponents[prime], count);
    }

    // Ascending primes; a prime with exponent 0 would only multiply by 1.0.
    double kgv = 1.0;
    for (const auto& [prime, exponent] : exponents) {
        double power = 1.0;
        for (int e = 0; e < exponent; ++e)
            power = power * prime;
        kgv = power * kgv;
    }
    area.kgv = formatDouble(kgv);
}

} // namespace pendro
