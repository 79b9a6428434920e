// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_addsub/frm_tas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <span>

#include "core/number_text.h"
#include "core/prime_table.h"
#include "mainwin/frm_pendro.h"
#include "toolkit/twips.h"
#include "trainer/check_failure.h"
#include "trainer_addsub/exact_sum.h"

namespace pendro {

namespace {
QString wholeText(std::int64_t value)
{
    return QString::fromStdString(formatInt(value));
}

void setShown(std::initializer_list<QWidget*> controls, bool shown)
{
    for (QWidget* control : controls)
        control->setVisible(shown);
}

// A hidden range box reads as its limit; the window keeps both at "10".
int rangeLimit(const ComboBox* box)
{
    const std::optional<std::int16_t> limit = parseInt16(box->currentText().toStdString());
    return std::max(1, static_cast<int>(limit.value_or(10)));
}

// Int(r * limit + 1) in single precision: a whole number from 1 to limit.
int drawnNumber(float r, int limit)
{
    const float value = r * static_cast<float>(limit) + 1.0f;
    return static_cast<int>(std::floor(value));
}

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
    connect(txtG2, &TextBox::doubleClicked, this, [this] { txtG2_DblClick(); });
    for (int k = 0; k < TermSlots; ++k)
        connect(txtV1[k], &TextBox::doubleClicked, this, [this, k] { txtV1_DblClick(k); });
}

void frmTAS::cbNeu_Click()
{
    ResetFields();
    m_random.reseedFromClock();
    const int last = std::clamp(static_cast<int>(termCount().value_or(2)), 2, 5) - 1;
    const int denominatorLimit = rangeLimit(cbZBN);
    const int numeratorLimit = rangeLimit(cbZBZ);

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
        const float twice = 2.0f * reseededDraw();
        txtV1[i]->setText(std::floor(twice) == 0.0f ? QStringLiteral("+") : QStringLiteral("-"));
        txtZ1[i]->setText(wholeText(drawnNumber(reseededDraw(), numeratorLimit)));
        txtN1[i]->setText(wholeText(drawnNumber(reseededDraw(), denominatorLimit)));
    }

    // Row 2: one bar under all numerators, the common denominator centred beneath it.
    const float barStart = 360.0f;
    const float fieldWidth = static_cast<float>(twipsGeometry(txtHN2).width);
    for (int i = 0; i <= last; ++i) {
        setShown({ txtV2[i], txtZ2[i], L2 }, true);
        const float barEnd = 1440.0f + 1200.0f * static_cast<float>(i);
        L2->setX1(barStart);
        L2->setX2(barEnd);
        txtHN2->show();
        const float left = (barEnd - barStart) / 2.0f - fieldWidth / 2.0f + 360.0f;
        setTwipsLeft(txtHN2, left);
    }
    for (int i = last + 1; i < TermSlots; ++i)
        setShown({ txtV2[i], txtZ2[i] }, false);

    txtG2->show();
    txtG2->setText(QStringLiteral("="));
    txtG3->show();
    txtV2[0]->setFocus();
    countNewExercise();
    cbNeu->hide();
    cbP->show();
}

void frmTAS::cbP_Click()
{
    try {
        checkResult();
    } catch (const CheckFailure&) {
        // The check ends silently where it failed: nothing is counted, and what it had shown
        // or written into the main window so far stays.
    }
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
        m_main.setNumberText(i, wholeText(denominator));
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
    const std::optional<std::int64_t> sum = sumOverCommonDenominator(common, sumTerms);
    require(sum.has_value());
    const std::int64_t magnitude = *sum < 0 ? -*sum : *sum;

    for (int i = 0; i < TermSlots; ++i)
        m_main.setNumberText(i, {});
    m_main.setNumberText(0, wholeText(common));
    m_main.setNumberText(1, wholeText(magnitude));
    const int sign = (*sum > 0) - (*sum < 0);
    m_main.HNBerechnen();
    const std::int64_t divisor = greatestCommonDivisor(common, magnitude);

    lblEZ1->setText(wholeText(sign * (magnitude / divisor)));
    lblEN1->setText(wholeText(common / divisor));
    setShown({ lblEZ1, lblEN1, lines[10], lines[11], lines[12] }, true);

    showMixedForm();
    lblG6->show();
    lblG6->setText(QStringLiteral("="));
    setShown({ lblGZ, lblEZ2, lblEN2, lines[13], lines[14], lines[15] }, true);

    const std::optional<std::int64_t> numerator = exactWholeNumber(lblEZ1->text());
    const std::optional<std::int64_t> denominator = exactWholeNumber(lblEN1->text());
    require(numerator && denominator && *denominator > 0);
    lblEDB->setText(QString::fromStdString(
        formatDecimalPattern(static_cast<double>(*numerator) / static_cast<double>(*denominator))));

    const bool correct = txtHN5->text() == lblEN2->text() && txtZ5->text() == lblEZ2->text()
        && txtGZ5->text() == lblGZ->text();
    countCheck(correct);
    m_main.ClearMainFields();
}

// The main window's kgV covers the denominators it factors (up to 131072); its caption is exact
// while it has at most 15 digits. Beyond that, and for larger denominators, the kgV is worked out
// here in whole numbers.
std::int64_t frmTAS::commonDenominator(std::span<const SignedTerm> terms)
{
    std::optional<std::int64_t> kgv = exactWholeNumber(m_main.kgvCaption());
    if (!kgv) {
        kgv = 1;
        for (const SignedTerm& term : terms) {
            if (term.denominator > 0 && term.denominator <= PrimeLimit)
                kgv = exactKgv(*kgv, term.denominator);
        }
    }
    for (const SignedTerm& term : terms) {
        if (term.denominator > PrimeLimit)
            kgv = exactKgv(*kgv, term.denominator);
    }
    require(*kgv >= 1 && *kgv <= ExactDoubleLimit);
    return *kgv;
}

// The main window's ggT counts only while both numbers lie within what it factors.
std::int64_t frmTAS::greatestCommonDivisor(std::int64_t commonDenominator, std::int64_t numerator)
{
    if (commonDenominator > PrimeLimit || numerator > PrimeLimit)
        return exactGgt(commonDenominator, numerator);
    const std::optional<std::int64_t> ggt = exactWholeNumber(m_main.ggtCaption());
    require(ggt && *ggt > 0 && commonDenominator % *ggt == 0 && numerator % *ggt == 0);
    return *ggt;
}

// The mixed form of lblEZ1 over lblEN1, read back from the captions. The remainder is worked out
// in 32 bits: a reduced result beyond that range ends the check here.
void frmTAS::showMixedForm()
{
    const std::optional<std::int64_t> numerator = exactWholeNumber(lblEZ1->text());
    const std::optional<std::int64_t> denominator = exactWholeNumber(lblEN1->text());
    require(numerator && denominator && *denominator > 0);
    const std::int64_t magnitude = *numerator < 0 ? -*numerator : *numerator;

    if (magnitude < *denominator) {
        lblGZ->clear();
        lblEZ2->setText(lblEZ1->text());
        lblEN2->setText(lblEN1->text());
        return;
    }
    // Division of whole numbers truncates toward zero: -7/6 gives -1.
    lblGZ->setText(wholeText(*numerator / *denominator));
    if (*numerator % *denominator == 0) {
        lblEZ2->clear();
        lblEN2->clear();
        return;
    }
    lblEN2->setText(lblEN1->text());
    const std::int32_t e = toInt32(lblEZ1->text());
    const std::int32_t whole = toInt32(lblGZ->text());
    const std::int32_t f = toInt32(lblEN1->text());
    require(e != INT32_MIN);
    lblEZ2->setText(wholeText(std::abs(e) - std::abs(whole) * f));
}

namespace {
// An "=" box opens the step behind it when the step before is filled in, else closes it.
// Closing hides the fields but keeps their texts; steps further right stay as they are.
void openOrCloseStep(TextBox* box, bool complete, std::initializer_list<QWidget*> step)
{
    box->setText(complete ? QStringLiteral("=") : QString());
    setShown(step, complete);
}

bool allFilled(std::initializer_list<const TextBox*> fields)
{
    return std::all_of(fields.begin(), fields.end(),
        [](const TextBox* field) { return !field->text().isEmpty(); });
}
}

void frmTAS::txtG3_Click()
{
    const std::optional<std::int16_t> count = termCount();
    if (!count || *count < 2 || *count > TermSlots)
        return;
    bool complete = !txtHN2->text().isEmpty();
    for (int i = 0; i < *count; ++i)
        complete = complete && allFilled({ txtZ2[i], txtV2[i] });
    openOrCloseStep(txtG3, complete, { txtZ3, txtHN3, lines[3], txtG4 });
}

void frmTAS::txtG4_Click()
{
    openOrCloseStep(txtG4, allFilled({ txtZ3, txtHN3 }),
        { txtZ4, txtHN4, lines[4], lines[5], lines[6], txtG5 });
}

void frmTAS::txtG5_Click()
{
    openOrCloseStep(txtG5, allFilled({ txtZ4, txtHN4 }),
        { txtZ5, txtHN5, lines[7], lines[8], lines[9], txtGZ5 });
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
