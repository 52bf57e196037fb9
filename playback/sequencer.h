// The sequencer: transport, the per-frame routine that moves through rows
// and orders at the song's tempo.
//
// playerFrame runs once per player frame (312 sub-steps, 33247.5 CPU clocks
// on average): inside fillAudio on sub-step 0, or once per tick where no
// sound is made (the song compiler, traces). Whoever shares a player between
// threads holds its lock around these calls.
#pragma once

#include <cstdint>

#include "playback/player_state.h"

namespace qc {

// Fresh channels and tables; asks the next sub-step for silent registers.
// Leaves pending breaks and jumps, the metronome, speed and tempo alone.
void resetPlayer(Player& player);
// From the top of the repeat block (or row 0) of the order; the order moves on.
void playSong(Player& player, int32_t order);
// From the row, staying in the order; stopping returns to the row.
void playFromCursor(Player& player, int32_t order, int32_t row);
// The audio thread's next sub-step completes the stop.
void stopPlayback(Player& player);
// The song as it starts with nothing played before: order 0, row 0, a new
// song's speed and tempo, nothing pending.
void startSong(Player& player);
void playerFrame(Player& player);

}  // namespace qc
