// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_addsub/frm_tas.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

#include "core/exercises.h"
#include "core/number_text.h"
#include "core/prime_table.h"
#include "mainwin/frm_pendro.h"
#include "toolkit/twips.h"
#include "trainer/check_failure.h"

namespace pendro {

namespace {

// What a double-click does to an operator field of row 1, by its current text. The first two
// terms only switch their sign; from the third term on the field also hides or shows its term
// and closes or opens the operator field after it.
enum class TermEffect {
    None,
    Hide,
    Show,
};

struct OperatorRow
{
    const char* current;
    const char* next;
    TermEffect effect;
    bool updatesCommonDenominator;
};

constexpr OperatorRow SignRows[] = {
    { "", "+", TermEffect::None, false },
    { "+", "-", TermEffect::None, false },
    { "-", "+", TermEffect::None, false },
};

constexpr OperatorRow TermRows[] = {
    { "", "=", TermEffect::Hide, true },
    { "=", "+", TermEffect::Show, false },
    { "+", "-", TermEffect::Show, false },
    { "-", "", TermEffect::Hide, false },
};

// The text of a field that no table row knows (only pasting could put it there) stays.
const OperatorRow* operatorRow(int k, const QString& current)
{
    const std::span<const OperatorRow> rows
        = k < 2 ? std::span<const OperatorRow>(SignRows) : std::span<const OperatorRow>(TermRows);
    for (const OperatorRow& row : rows) {
        if (current == QLatin1String(row.current))
            return &row;
    }
    return nullptr;
}
}

frmTAS::frmTAS(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow)
    : TrainerFrame(AddSubKind, counters, random, mainWindow)
{
    // What the double-clicks do, the keyboard and screen readers do as well.
    txtG2->setActivation(QStringLiteral("Gleichheitszeichen setzen"),
        QStringLiteral("Eingabetaste oder Leertaste setzt das Gleichheitszeichen"));
    connect(txtG2, &TextBox::doubleClicked, this, [this] { txtG2_DblClick(); });
    connect(txtG2, &TextBox::activated, this, [this] { txtG2_DblClick(); });
    for (int k = 0; k < TermSlots; ++k) {
        txtV1[k]->setActivation(QStringLiteral("Rechenzeichen wechseln"),
            k < 2 ? QStringLiteral("Eingabetaste oder Leertaste wechselt das Rechenzeichen")
                  : QStringLiteral("Eingabetaste oder Leertaste wechselt das Rechenzeichen "
                                   "und blendet das Glied aus oder ein"));
        connect(txtV1[k], &TextBox::doubleClicked, this, [this, k] { txtV1_DblClick(k); });
        connect(txtV1[k], &TextBox::activated, this, [this, k] { txtV1_DblClick(k); });
    }
}

void frmTAS::cbNeu_Click()
{
    ResetFields();
    const int terms = std::clamp(static_cast<int>(termCount().value_or(2)), 2, 5);
    const FractionExercise exercise
        = drawSum(m_random, { terms, numeratorLimit(), denominatorLimit(), false });
    const int last = terms - 1;

    for (int i = 0; i < TermSlots; ++i) {
        const bool inExercise = i <= last;
        setShown({ txtN1[i], txtZ1[i], txtV1[i], L1[i] }, inExercise);
        if (!inExercise) {
            txtN1[i]->clear();
            txtZ1[i]->clear();
            txtV1[i]->clear();
        }
    }

    for (int i = 0; i <= last; ++i) {
        const FractionTerm& term = exercise.terms[static_cast<std::size_t>(i)];
        txtV1[i]->setText(term.minus ? QStringLiteral("-") : QStringLiteral("+"));
        txtZ1[i]->setText(wholeNumberText(term.numerator));
        txtN1[i]->setText(wholeNumberText(term.denominator));
    }

    for (int i = 0; i < TermSlots; ++i)
        setShown({ txtV2[i], txtZ2[i] }, i <= last);
    // Row 2: one bar under all numerators, the common denominator centred beneath it, worked out
    // in single precision.
    showRowTwoBar(last);
    const auto barStart = static_cast<float>(L2->x1());
    const auto barEnd = static_cast<float>(L2->x2());
    const auto fieldWidth = static_cast<float>(twipsGeometry(txtHN2).width);
    txtHN2->show();
    setTwipsLeft(txtHN2, (barEnd - barStart) / 2.0f - fieldWidth / 2.0f + barStart);

    txtG2->setText(QStringLiteral("="));
    finishNewExercise(txtV2[0]);
}

void frmTAS::checkResult()
{
    const std::optional<std::int16_t> count = termCount();
    require(count && *count >= 1 && *count <= TermSlots);
    const int n = *count;

    // Each denominator is written into the main window before its numerator is read, so that an
    // unreadable numerator leaves the denominators read so far there. A denominator field takes
    // digits only; a sign in it is no denominator.
    std::array<SignedTerm, TermSlots> terms {};
    for (int i = 0; i < n; ++i) {
        const std::int32_t denominator = toInt32(txtN1[i]->text());
        require(denominator >= 0);
        m_main.setNumberText(i, wholeNumberText(denominator));
        std::int64_t numerator = toInt32(txtZ1[i]->text());
        if (txtV1[i]->text() == QLatin1String("-"))
            numerator = -numerator;
        terms[i] = { numerator, denominator };
    }
    for (int i = n; i < TermSlots; ++i)
        m_main.setNumberText(i, {});
    m_main.HNBerechnen();
    const std::span<const SignedTerm> sumTerms(terms.data(), static_cast<std::size_t>(n));
    const std::int64_t common = commonDenominator(sumTerms);

    // A denominator 0 ends the check here, before anything is shown.
    const std::int64_t sum = required(sumOverCommonDenominator(common, sumTerms));
    const std::int64_t magnitude = sum < 0 ? -sum : sum;

    for (int i = 0; i < TermSlots; ++i)
        m_main.setNumberText(i, {});
    m_main.setNumberText(0, wholeNumberText(common));
    m_main.setNumberText(1, wholeNumberText(magnitude));
    const int sign = (sum > 0) - (sum < 0);
    m_main.HNBerechnen();
    const std::int64_t divisor = greatestCommonDivisor(common, magnitude);

    const std::int64_t numerator = sign * (magnitude / divisor);
    const std::int64_t denominator = common / divisor;
    lblEZ1->setText(wholeNumberText(numerator));
    lblEN1->setText(wholeNumberText(denominator));
    setGroupShown(ControlGroup::ReducedSolution, true);

    // The rest of the mixed form is worked out in 32 bits, the magnitude of the numerator too.
    showMixedNumber(numerator, denominator,
        numerator > INT32_MIN && numerator <= INT32_MAX && denominator <= INT32_MAX);
    lblG6->setText(QStringLiteral("="));
    setGroupShown(ControlGroup::MixedSolution, true);
    showDecimal(numerator, denominator);
    judgeAnswer();
}

// The main window's kgV covers the denominators it factors (up to 131072); its caption is exact
// while it has at most 15 digits. Beyond that, and for larger denominators, the kgV is worked out
// here in whole numbers.
std::int64_t frmTAS::commonDenominator(std::span<const SignedTerm> terms)
{
    std::optional<std::int64_t> kgv
        = parseWholeNumber(m_main.kgvCaption().toStdString(), ExactDoubleLimit);
    if (!kgv) {
        kgv = 1;
        for (const SignedTerm& term : terms) {
            if (term.denominator > 0 && term.denominator <= PrimeLimit)
                kgv = required(exactKgv(*kgv, term.denominator));
        }
    }
    for (const SignedTerm& term : terms) {
        if (term.denominator > PrimeLimit)
            kgv = required(exactKgv(*kgv, term.denominator));
    }
    require(*kgv >= 1 && *kgv <= ExactDoubleLimit);
    return *kgv;
}

// The main window's ggT counts only while both numbers lie within what it factors.
std::int64_t frmTAS::greatestCommonDivisor(std::int64_t commonDenominator, std::int64_t numerator)
{
    if (commonDenominator > PrimeLimit || numerator > PrimeLimit)
        return required(exactGgt(commonDenominator, numerator));
    const std::optional<std::int64_t> ggt
        = parseWholeNumber(m_main.ggtCaption().toStdString(), ExactDoubleLimit);
    require(ggt && *ggt > 0 && commonDenominator % *ggt == 0 && numerator % *ggt == 0);
    return *ggt;
}

std::optional<bool> frmTAS::rowBeforeFilled(int row) const
{
    if (row > 3)
        return stepRowFilled(row - 1);
    const std::optional<std::int16_t> count = termCount();
    if (!count || *count < 2 || *count > TermSlots)
        return std::nullopt;
    bool filled = !txtHN2->text().isEmpty();
    for (int i = 0; i < *count; ++i)
        filled = filled && !txtZ2[i]->text().isEmpty() && !txtV2[i]->text().isEmpty();
    return filled;
}

void frmTAS::txtG2_DblClick()
{
    if (!txtG2->text().isEmpty())
        return;
    txtG2->setText(QStringLiteral("="));
    txtG3->show();
}

void frmTAS::txtV1_DblClick(int k)
{
    const OperatorRow* row = operatorRow(k, txtV1[k]->text());
    if (!row)
        return;
    txtV1[k]->setText(QString::fromLatin1(row->next));
    if (row->effect == TermEffect::None)
        return;

    const bool shown = row->effect == TermEffect::Show;
    setShown({ txtZ1[k], txtN1[k], L1[k] }, shown);
    if (k + 1 < TermSlots) {
        txtV1[k + 1]->setVisible(shown);
        txtV1[k + 1]->clear();
    }
    if (row->updatesCommonDenominator)
        UpdateCommonDenominator();
}

// Every denominator that holds text takes part, hidden terms included; the main window's other
// number fields keep what they hold.
void frmTAS::UpdateCommonDenominator()
{
    for (int i = 0; i < TermSlots; ++i) {
        if (!txtN1[i]->text().isEmpty())
            m_main.setNumberText(i, txtN1[i]->text());
    }
    m_main.HNBerechnen();
    lblEN1->setText(m_main.kgvCaption());
}

} // namespace pendro
