// Turns cells, instruments, envelopes and effects into chip register values.
#pragma once

#include "song/song.h"

void startRow();
void tickChannels();
void idleChannels();
// Applies a cell's note and instrument to a tone channel; true when it started something.
bool triggerNote(int channel, const Cell& cell);
void stepEnvelopes(int channel);
void stepArpeggio(int channel);
void writeChannelRegisters();
void writePulsePeriod(int channel, int period);
void silenceCursorChannel();
// Once per sub-step: the audio-thread requests and the raw-sample stream.
void playerSubStep();
