// The audio loop: runs a player and its engine in sub-steps until enough
// samples are buffered. At sub-step 0 it calls playerFrame, at every
// sub-step playerSubStep, then closes the sub-step.
#pragma once

#include <cstdint>

#include "playback/engine.h"
#include "playback/player_state.h"

namespace qc {

// Fills destination with count samples (of the output's samplesPerFrame
// values each, interleaved); samples made beyond count are
// delivered first by the next call. The player, if any, plays into this
// engine; without one the chip runs on with the registers it was given.
void fillAudio(Engine& engine, Player* player, int16_t* destination, int count);

}  // namespace qc
