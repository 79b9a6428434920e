#include "trainer_muldiv/frm_td.h"

namespace pendro {

frmTD::frmTD(TrainerCounters& counters, RandomGenerator& random, frmPendro& mainWindow)
    : MulDivTrainer(DivKind, counters, random, mainWindow)
{ }

} // namespace pendro
