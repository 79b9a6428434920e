// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer_muldiv/frm_td.h"

namespace pendro {

frmTD::frmTD(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow)
    : MulDivTrainer(DivKind, counters, random, mainWindow)
{ }

} // namespace pendro
