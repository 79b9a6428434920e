// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "trainer/trainer_frame.h"

namespace pendro {

// The multiplication and the division trainer, one implementation for both windows.
//
// "Neue Aufgabe" draws a chain of two to five fractions into row 1 and opens row 2, where the
// pupil writes the chain as one fraction of products; the "=" boxes open rows 3 to 5 (products
// worked out, reduced fraction, mixed number) once the row before is filled in. "Ergebnis
// überprüfen" reads the terms of row 1 back from their fields, multiplies them itself (division
// turns every divisor upside down first), lets the main window's HNBerechnen find the ggT of the
// unreduced numerator and denominator, writes the reduced fraction, the mixed number and the
// decimal value into the solution labels and compares the pupil's mixed number with its own, text
// for text. The fields are the whole state; the window only keeps the counters it was given.
//
// A check that cannot go on (a term field without a 16-bit whole number, a product beyond its
// range, a zero denominator) ends silently where it fails; what it had written so far stays.
class MulDivTrainer : public TrainerFrame
{
    Q_OBJECT

public:
    MulDivTrainer(const TrainerKindData& data, TrainerCounters& counters, RandomGenerator& random,
        frmPendro& mainWindow);

protected:
    void cbNeu_Click() override;
    void checkResult() override;
    std::optional<bool> rowBeforeFilled(int row) const override;

private:
    // The exact result of row 1 before reducing it.
    struct UnreducedFraction
    {
        std::int64_t numerator; // N
        std::int64_t denominator; // D
    };

    UnreducedFraction multiplyTerms(int termCount) const;
    std::int64_t reductionDivisor(
        std::int64_t numeratorMagnitude, std::int64_t denominatorMagnitude);

    bool dividing() const { return kindData().kind == TrainerKind::Div; }
};

} // namespace pendro
