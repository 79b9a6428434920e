// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_muldiv/mul_div_trainer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QtNumeric>

#include "core/number_text.h"
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

QString numberText(std::int64_t value)
{
    return QString::fromStdString(formatInt(value));
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
    m_random.reseedFromClock();

    // The frame keeps cbAG between 2 and 5; whatever it holds, the exercise stays in the columns.
    const int last = std::clamp<int>(termCount().value_or(2), 1, TermSlots) - 1;
    // The range boxes are hidden in these windows and keep their "10".
    const std::int16_t denominatorLimit
        = parseInt16(cbZBN->currentText().toStdString()).value_or(10);
    const std::int16_t numeratorLimit = parseInt16(cbZBZ->currentText().toStdString()).value_or(10);

    for (int i = 0; i <= last; ++i) {
        txtZ1[i]->show();
        txtN1[i]->show();
        L1[i]->show();
        if (i < last)
            lblV1[i]->show();
    }
    for (int i = 0; i <= last; ++i)
        drawTerm(i, numeratorLimit, denominatorLimit);

    for (int i = 0; i <= last; ++i) {
        txtZ2[i]->show();
        txtN2[i]->show();
        if (i < last) {
            lblVZ2[i]->show();
            lblVN2[i]->show();
        }
    }
    // One bar under all of row 2, from the first column's left edge to the last column's right.
    L2->setX1(360);
    L2->setX2(static_cast<float>(1080 + 1200 * last));
    L2->show();

    txtG2->show();
    txtG3->show();
    txtZ2[0]->setFocus();
    countNewExercise();
    cbNeu->hide();
    cbP->show();
}

// Every draw comes right after its own re-seed; the numerator's sign costs a draw of its own only
// when negative numerators are allowed.
void MulDivTrainer::drawTerm(int index, std::int16_t numeratorLimit, std::int16_t denominatorLimit)
{
    // r * limit + 1 rounded down, worked out in single precision: a whole number from 1 to limit.
    auto drawUpTo = [this](std::int16_t limit) {
        const float r = reseededDraw();
        return static_cast<std::int64_t>(std::floor(r * static_cast<float>(limit) + 1.0F));
    };
    const std::int64_t numerator = drawUpTo(numeratorLimit);
    txtZ1[index]->setText(numberText(numerator));
    if (cbMinus->isChecked() && reseededDraw() >= 0.5F)
        txtZ1[index]->setText(numberText(-numerator));
    txtN1[index]->setText(numberText(drawUpTo(denominatorLimit)));
}

void MulDivTrainer::cbP_Click()
{
    try {
        checkResult();
    } catch (const CheckFailure&) {
        // The check ends where it failed; the captions and main-window fields written so far stay.
    }
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
    lblEZ1->setText(numberText(reducedNumerator));
    lblEN1->setText(numberText(reducedDenominator));

    showMixedNumber(reducedNumerator, reducedDenominator);
    lblEDB->setText(QString::fromStdString(formatDecimalPattern(
        static_cast<double>(reducedNumerator) / static_cast<double>(reducedDenominator))));

    // Exact texts: a blank, a plus sign, a leading zero or a "0" for an absent part is wrong.
    const bool correct = txtGZ5->text() == lblGZ->text() && txtZ5->text() == lblEZ2->text()
        && txtHN5->text() == lblEN2->text();
    countCheck(correct);
    m_main.ClearMainFields();
    revealSolution();
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
    m_main.setNumberText(0, numberText(denominatorMagnitude));
    m_main.setNumberText(1, numberText(numeratorMagnitude));
    for (int i = 2; i < NumberFieldCount; ++i)
        m_main.setNumberText(i, {});
    m_main.HNBerechnen();

    const std::int64_t divisor
        = numeratorMagnitude > PrimeLimit || denominatorMagnitude > PrimeLimit
        ? exactGgt(numeratorMagnitude, denominatorMagnitude)
        : toInt32(m_main.ggtCaption());
    require(divisor > 0);
    return divisor;
}

void MulDivTrainer::showMixedNumber(std::int64_t numerator, std::int64_t denominator)
{
    // D = 0 (a zero denominator, or a zero divisor) leaves no quotient: the check ends here.
    require(denominator != 0);
    const std::int64_t numeratorSize = magnitude(numerator);
    const std::int64_t denominatorSize = magnitude(denominator);

    if (numeratorSize < denominatorSize) {
        // A proper fraction has no whole part; its sign, wherever it came from, goes into the
        // numerator.
        lblEZ2->setText(numberText(signOf(numerator) * signOf(denominator) * numeratorSize));
        lblEN2->setText(numberText(denominatorSize));
        return;
    }

    // Truncated toward zero, so that the whole part carries the sign and the rest stays positive.
    const std::int64_t whole = numerator / denominator;
    lblGZ->setText(numberText(whole));
    if (denominatorSize == 1)
        return;
    lblEN2->setText(numberText(denominatorSize));
    require(fitsInt32(numerator) && fitsInt32(denominator));
    lblEZ2->setText(numberText(numeratorSize - magnitude(whole) * denominatorSize));
}

void MulDivTrainer::revealSolution()
{
    for (int n = 10; n <= 15; ++n)
        lines[n]->show();
    for (QLabel* label : { lblEZ1, lblEN1, lblG6, lblGZ, lblEZ2, lblEN2 })
        label->show();
}

std::optional<int> MulDivTrainer::stepAidTermCount() const
{
    const std::optional<std::int16_t> count = termCount();
    if (!count || *count < 2 || *count > TermSlots)
        return std::nullopt;
    return *count;
}

void MulDivTrainer::openStepWhenFilled(TextBox* box, const std::vector<const QLineEdit*>& required,
    std::initializer_list<QWidget*> nextStep)
{
    const bool filled = std::all_of(required.begin(), required.end(),
        [](const QLineEdit* field) { return !field->text().isEmpty(); });
    for (QWidget* control : nextStep)
        control->setVisible(filled);
    box->setText(filled ? QStringLiteral("=") : QString());
}

void MulDivTrainer::txtG3_Click()
{
    const std::optional<int> count = stepAidTermCount();
    if (!count)
        return;
    std::vector<const QLineEdit*> rowTwo;
    for (int i = 0; i < *count; ++i) {
        rowTwo.push_back(txtZ2[i]);
        rowTwo.push_back(txtN2[i]);
    }
    openStepWhenFilled(txtG3, rowTwo, { txtZ3, txtHN3, lines[3], txtG4 });
}

void MulDivTrainer::txtG4_Click()
{
    if (!stepAidTermCount())
        return;
    openStepWhenFilled(
        txtG4, { txtZ3, txtHN3 }, { txtZ4, txtHN4, lines[4], lines[5], lines[6], txtG5 });
}

void MulDivTrainer::txtG5_Click()
{
    if (!stepAidTermCount())
        return;
    openStepWhenFilled(
        txtG5, { txtZ4, txtHN4 }, { txtZ5, txtHN5, lines[7], lines[8], lines[9], txtGZ5 });
}

} // namespace pendro
