// The metronome: a click on the expansion pulse (0x9000..0x9002), outside the
// song's tracks, on every fourth row while playing.
#pragma once

#include "playback/player_state.h"

namespace qc {

// Once per playing frame, after the channel registers.
void metronomeFrame(Player& player);

}  // namespace qc
