// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "trainer_muldiv/mul_div_trainer.h"

namespace pendro {

inline constexpr TrainerKindData DivKind { TrainerKind::Div, "frmTD",
    "Trainer für die Division gemeiner Brüche", "Ergebnis Überprüfen", 9.75,
    "Zähler bis:", "Nenner bis:", 4, TermLayout::SignLabels, ":", 24.0, "geteilt durch" };

// "Trainer für die Division gemeiner Brüche": chains of fractions joined by ":", which the check
// turns into a product by inverting every divisor.
class frmTD final : public MulDivTrainer
{
    Q_OBJECT

public:
    frmTD(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow);
};

} // namespace pendro
