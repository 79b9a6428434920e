// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_muldiv/frm_tm.h"

namespace pendro {

frmTM::frmTM(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow)
    : MulDivTrainer(MulKind, counters, random, mainWindow)
{ }

} // namespace pendro
