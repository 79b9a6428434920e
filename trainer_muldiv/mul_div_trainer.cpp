// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_muldiv/mul_div_trainer.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include <QtNumeric>

#include "core/exercises.h"
#include "core/fraction_arithmetic.h"
#include "core/prime_table.h"
#include "mainwin/frm_pendro.h"
#include "trainer/check_failure.h"

namespace pendro {

namespace {

constexpr std::int64_t Int32Lowest = INT32_MIN;
constexpr std::int64_t Int32Highest = INT32_MAX;

// The running product times one more factor; a check failure when it leaves [lowest, highest].
std::int64_t productWithin(
    std::int64_t product, std::int64_t factor, std::int64_t lowest, std::int64_t highest)
{
    std::int64_t result = 0;
    require(!qMulOverflow(product, factor, &result));
    require(result >= lowest && result <= highest);
    return result;
}

std::int64_t magnitude(std::int64_t value)
{
    return value < 0 ? -value : value;
}

std::int64_t signOf(std::int64_t value)
{
    return (value > 0) - (value < 0);
}

bool fitsInt32(std::int64_t value)
{
    return value >= Int32Lowest && value <= Int32Highest;
}

} // namespace

MulDivTrainer::MulDivTrainer(const TrainerKindData& data, TrainerCounters& counters,
    RandomGenerator& random, frmPendro& mainWindow)
    : TrainerFrame(data, counters, random, mainWindow)
{ }

void MulDivTrainer::cbNeu_Click()
{
    ResetFields();
    txtG2->setText(QStringLiteral("="));

    // The frame keeps cbAG between 2 and 5; whatever it holds, the exercise stays in the columns.
    const int terms = std::clamp<int>(termCount().value_or(2), 1, TermSlots);
    const FractionExercise exercise
        = drawChain(m_random, dividing() ? FractionOperation::Quotient : FractionOperation::Product,
            { terms, numeratorLimit(), denominatorLimit(), cbMinus->isChecked() });
    const int last = terms - 1;

    for (int i = 0; i <= last; ++i) {
        setShown({ txtZ1[i], txtN1[i], L1[i] }, true);
        if (i < last)
            lblV1[i]->show();
    }
    for (int i = 0; i <= last; ++i) {
        const FractionTerm& term = exercise.terms[static_cast<std::size_t>(i)];
        txtZ1[i]->setText(wholeNumberText(term.numerator));
        txtN1[i]->setText(wholeNumberText(term.denominator));
    }

    for (int i = 0; i <= last; ++i) {
        setShown({ txtZ2[i], txtN2[i] }, true);
        if (i < last)
            setShown({ lblVZ2[i], lblVN2[i] }, true);
    }
    showRowTwoBar(last);
    finishNewExercise(txtZ2[0]);
}

void MulDivTrainer::checkResult()
{
    const std::optional<std::int16_t> count = termCount();
    require(count.has_value());

    for (QLabel* label : { lblEZ1, lblEN1, lblGZ, lblEZ2, lblEN2 })
        label->clear();
    lblG6->setText(QStringLiteral("="));

    const UnreducedFraction result = multiplyTerms(*count);

    const std::int64_t divisor
        = reductionDivisor(magnitude(result.numerator), magnitude(result.denominator));
    // The numerator carries the sign of N; a division's denominator keeps the sign of D.
    const std::int64_t reducedNumerator
        = signOf(result.numerator) * (magnitude(result.numerator) / divisor);
    const std::int64_t reducedDenominator = result.denominator / divisor;
    lblEZ1->setText(wholeNumberText(reducedNumerator));
    lblEN1->setText(wholeNumberText(reducedDenominator));

    showMixedNumber(reducedNumerator, reducedDenominator,
        fitsInt32(reducedNumerator) && fitsInt32(reducedDenominator));
    showDecimal(reducedNumerator, reducedDenominator);
    judgeAnswer();
    setGroupShown(ControlGroup::ReducedSolution, true);
    setGroupShown(ControlGroup::MixedSolution, true);
}

MulDivTrainer::UnreducedFraction MulDivTrainer::multiplyTerms(int termCount) const
{
    std::array<std::int16_t, TermSlots> numerators {};
    std::array<std::int16_t, TermSlots> denominators {};
    for (int i = 0; i < termCount; ++i) {
        require(i < TermSlots);
        denominators[i] = toInt16(txtN1[i]->text());
        numerators[i] = toInt16(txtZ1[i]->text());
    }

    // A division's numerator is not held to 32 bits, only to what a double counts exactly.
    const std::int64_t numeratorLimit = dividing() ? ExactDoubleLimit : Int32Highest;
    const std::int64_t numeratorLowest = dividing() ? -ExactDoubleLimit : Int32Lowest;

    UnreducedFraction result { 1, 1 };
    for (int i = 0; i < termCount; ++i) {
        // Dividing by a/b multiplies by b/a: in a division every term after the first enters
        // upside down.
        const bool divisor = dividing() && i > 0;
        const std::int64_t upper = divisor ? denominators[i] : numerators[i];
        const std::int64_t lower = divisor ? numerators[i] : denominators[i];
        // a : b/0 has no value, though the inverted product would come out as 0.
        require(!divisor || upper != 0);
        result.denominator = productWithin(result.denominator, lower, Int32Lowest, Int32Highest);
        result.numerator = productWithin(result.numerator, upper, numeratorLowest, numeratorLimit);
    }
    return result;
}

// The ggT of N and D as the main window's calculator finds it, in front of the user. The
// calculator leaves numbers above its prime table out of the ggT, so for those the ggT is worked
// out here.
std::int64_t MulDivTrainer::reductionDivisor(
    std::int64_t numeratorMagnitude, std::int64_t denominatorMagnitude)
{
    m_main.setNumberText(0, wholeNumberText(denominatorMagnitude));
    m_main.setNumberText(1, wholeNumberText(numeratorMagnitude));
    for (int i = 2; i < NumberFieldCount; ++i)
        m_main.setNumberText(i, {});
    m_main.HNBerechnen();

    const std::int64_t divisor
        = numeratorMagnitude > PrimeLimit || denominatorMagnitude > PrimeLimit
        ? required(exactGgt(numeratorMagnitude, denominatorMagnitude))
        : toInt32(m_main.ggtCaption());
    require(divisor > 0);
    return divisor;
}

// Only 2 to 8 terms make a row 2 that the "=" boxes can look at; with any other count no box
// does anything.
std::optional<bool> MulDivTrainer::rowBeforeFilled(int row) const
{
    const std::optional<std::int16_t> count = termCount();
    if (!count || *count < 2 || *count > TermSlots)
        return std::nullopt;
    if (row > 3)
        return stepRowFilled(row - 1);
    for (int i = 0; i < *count; ++i) {
        if (txtZ2[i]->text().isEmpty() || txtN2[i]->text().isEmpty())
            return false;
    }
    return true;
}

} // namespace pendro
