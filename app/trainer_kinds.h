// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>

#include "trainer/trainer_frame.h"
#include "trainer_addsub/frm_tas.h"
#include "trainer_muldiv/frm_td.h"
#include "trainer_muldiv/frm_tm.h"

// The fraction trainers that the program offers: everything the application needs to know of a
// kind, one row each, in the order of the menu "Trainer Bruchrechnung". A row's position is its
// TrainerKind.
namespace pendro {

struct TrainerKindEntry
{
    const TrainerKindData& data;
    const char* menuActionName;
    const char* menuCaption;
    TrainerFrame* (*create)(TrainerCounters& counters, RandomGenerator& random, frmPendro& main);
};

template <typename Window>
TrainerFrame* createTrainer(TrainerCounters& counters, RandomGenerator& random, frmPendro& main)
{
    return new Window(counters, random, main);
}

inline constexpr std::array TrainerKinds {
    TrainerKindEntry {
        AddSubKind, "menTAS", "Trainer &Addition und Subtraktion", &createTrainer<frmTAS> },
    TrainerKindEntry { MulKind, "menTM", "Trainer &Multiplikation", &createTrainer<frmTM> },
    TrainerKindEntry { DivKind, "menTD", "Trainer &Division", &createTrainer<frmTD> },
};

constexpr bool rowsInKindOrder()
{
    for (std::size_t i = 0; i < TrainerKinds.size(); ++i) {
        if (TrainerKinds[i].data.kind != static_cast<TrainerKind>(i))
            return false;
    }
    return true;
}
static_assert(rowsInKindOrder(), "a row of TrainerKinds stands at the position of its kind");

inline const TrainerKindEntry& trainerKindEntry(TrainerKind kind)
{
    return TrainerKinds[static_cast<std::size_t>(kind)];
}

} // namespace pendro
