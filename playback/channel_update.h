// Turns cells, instruments, envelopes and effects into chip register values.
//
// Four tone channels (0 Pulse 1, 1 Pulse 2, 2 Triangle, 3 Noise) keep a
// ChannelState; the fifth track starts raw samples that playerSubStep streams
// to the output level register 0x4011.
#pragma once

#include <cstdint>

#include "playback/player_state.h"
#include "song/song.h"

namespace qc {

// First tick of a row: reads the row's cells on all five tracks.
void startRow(Player& player);
// Later ticks of a row: advances the running effects.
void tickChannels(Player& player);
// While the sequencer is stopped: previewed notes keep sounding and stepping.
void idleChannels(Player& player);
// Applies a cell's note and instrument to a tone channel; true when it started something.
bool triggerNote(Player& player, int channel, const Cell& cell);
// Releases a preview: the tone channel's volume goes to 0.
void silenceChannel(Player& player, int channel);
// The cell of a track in the playing row; positions out of range are folded in.
const Cell& playingCell(const Player& player, int track);
// The period of a note index, clamped to the notes the table holds.
int32_t periodOf(const Player& player, int32_t noteIndex);

}  // namespace qc
