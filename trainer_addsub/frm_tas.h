// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "core/fraction_arithmetic.h"
#include "trainer/trainer_frame.h"

namespace pendro {

inline constexpr TrainerKindData AddSubKind { TrainerKind::AddSub, "frmTAS",
    "Trainer für die Addition und Subtraktion gemeiner Brüche", "Ergebnis Überprüfen", 8.25,
    "Zahlbereich Zähler bis:", "Zahlbereich Nenner bis:", 2, TermLayout::OperatorFields, "", 18.0,
    "" };

// The addition and subtraction trainer: sums of two to five signed fractions.
//
// "Neue Aufgabe" draws the operators, numerators and denominators of row 1 and opens the empty
// row 2. The pupil rewrites the sum over the common denominator in row 2, opens rows 3 to 5 with
// the "=" boxes (a box opens its row only when the row before is filled in) and types the answer
// as a mixed number in row 5. "Ergebnis Überprüfen" reads row 1 back from the fields, has the
// main window work out the common denominator and the ggT of the result (its HNBerechnen, over
// the main window's number fields), shows the reduced result, the mixed form and the decimal
// value, compares row 5 with the mixed form as text, counts, and empties the main window.
// Numbers beyond what the main window factors are handled in exact whole-number arithmetic.
// A double-click on an operator of row 1 switches its sign, and from the third term on hides or
// adds a term. Like the frame, the window keeps no exercise of its own: every handler reads the
// fields.
class frmTAS : public TrainerFrame
{
    Q_OBJECT

public:
    frmTAS(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow);

protected:
    void cbNeu_Click() override;
    void checkResult() override;
    std::optional<bool> rowBeforeFilled(int row) const override;

private:
    std::int64_t commonDenominator(std::span<const SignedTerm> terms);
    std::int64_t greatestCommonDivisor(std::int64_t commonDenominator, std::int64_t numerator);

    void txtG2_DblClick();
    void txtV1_DblClick(int k);
    void UpdateCommonDenominator();
};

} // namespace pendro
