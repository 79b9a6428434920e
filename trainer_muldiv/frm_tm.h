// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "trainer_muldiv/mul_div_trainer.h"

namespace pendro {

inline constexpr TrainerKindData MulKind { TrainerKind::Mul, "frmTM",
    "Trainer für die Multiplikation gemeiner Brüche", "Ergebnis überprüfen", 9.75,
    "Zähler bis:", "Nenner bis:", 4, TermLayout::SignLabels, "*", 18.0, "mal" };

// "Trainer für die Multiplikation gemeiner Brüche": chains of fractions joined by "*".
class frmTM final : public MulDivTrainer
{
    Q_OBJECT

public:
    frmTM(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow);
};

} // namespace pendro
