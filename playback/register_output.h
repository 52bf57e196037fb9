// The channels' registers at the end of each frame. Every value goes through
// apuWrite, which stamps each write 4 clocks after the previous one, so the
// order of writes here is part of the sound. A player without an engine
// writes nothing; with capture on, ExportCapture gets the tick's values.
#pragma once

#include <cstdint>

#include "playback/player_state.h"

namespace qc {

void writeChannelRegisters(Player& player);
// A change of the high byte by one goes through the sweep unit, so the
// waveform's phase does not restart.
void writePulsePeriod(Player& player, int channel, int period);
// apuWrite into the player's engine, if it has one.
void playerWrite(Player& player, uint32_t address, uint8_t value);

}  // namespace qc
