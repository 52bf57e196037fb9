// What the player does at every sub-step: the requests other threads leave
// for it (clock, channel mask, register reset, silence) and the raw-sample
// stream into the output level register 0x4011.
#pragma once

#include <cstdint>

#include "playback/player_state.h"

namespace qc {

// Once per sub-step, after playerFrame on sub-step 0. Without an engine it
// does nothing.
void playerSubStep(Player& player);
// A new mask; the next sub-step writes it to 0x4015.
void setChannelMask(Player& player, uint32_t mask);

}  // namespace qc
