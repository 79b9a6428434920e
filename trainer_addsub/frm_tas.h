// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "trainer/trainer_frame.h"
#include "trainer_addsub/exact_sum.h"

namespace pendro {

// The addition and subtraction trainer: sums of two to five signed fractions.
//
// "Neue Aufgabe" draws the operators, numerators and denominators of row 1 and opens the empty
// row 2. The pupil rewrites the sum over the common denominator in row 2, opens rows 3 to 5 with
// the "=" boxes (a box opens its row only when the row before is filled in) and types the answer
// as a mixed number in row 5. "Ergebnis Überprüfen" reads row 1 back from the fields, has the
// main window work out the common denominator and the ggT of the result (its HNBerechnen, over
// the main window's number fields), shows the reduced result, the mixed form and the decimal
// value, compares row 5 with the mixed form as text, counts, and empties the main window.
// Numbers beyond what the main window factors are handled here in exact whole-number arithmetic.
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
    void cbP_Click() override;
    void txtG3_Click() override;
    void txtG4_Click() override;
    void txtG5_Click() override;

private:
    // The check itself; raises CheckFailure where it cannot go on, and cbP_Click catches it.
    void checkResult();
    std::int64_t commonDenominator(std::span<const SignedTerm> terms);
    std::int64_t greatestCommonDivisor(std::int64_t commonDenominator, std::int64_t numerator);
    void showMixedForm();

    void txtG2_DblClick();
    void txtV1_DblClick(int k);
    void UpdateCommonDenominator();
};

} // namespace pendro
