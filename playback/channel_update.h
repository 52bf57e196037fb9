// Turns cells, instruments, envelopes and effects into chip register values.
//
// Four tone channels (0 Pulse 1, 1 Pulse 2, 2 Triangle, 3 Noise) keep a
// ChannelState; the fifth track starts raw samples that playerSubStep streams
// to the output level register 0x4011. Every register value goes through
// apuWrite, which stamps each write 4 clocks after the previous one, so the
// order of writes here is part of the sound. In export mode nothing is written
// and only ExportCapture is filled.
#pragma once

#include <cstdint>

#include "song/song.h"

// First tick of a row: reads the row's cells on all five tracks.
void startRow();
// Later ticks of a row: advances the running effects.
void tickChannels();
// While the sequencer is stopped: previewed notes keep sounding and stepping.
void idleChannels();
// Applies a cell's note and instrument to a tone channel; true when it started something.
bool triggerNote(int channel, const Cell& cell);
void stepEnvelopes(int channel);
void stepArpeggio(int channel);
void writeChannelRegisters();
void writePulsePeriod(int channel, int period);
// Releases the editor's preview on the cursor track.
void silenceCursorChannel();
// Once per sub-step: the audio-thread requests and the raw-sample stream.
void playerSubStep();

// The cell of a track in the playing row; positions out of range are folded in.
const Cell& playingCell(int track);
// apuWrite, unless export mode is on.
void playerWrite(uint32_t address, uint8_t value);
