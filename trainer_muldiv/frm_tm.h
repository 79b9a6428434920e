// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "trainer_muldiv/mul_div_trainer.h"

namespace pendro {

// "Trainer für die Multiplikation gemeiner Brüche": chains of fractions joined by "*".
class frmTM final : public MulDivTrainer
{
    Q_OBJECT

public:
    frmTM(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow);
};

} // namespace pendro
