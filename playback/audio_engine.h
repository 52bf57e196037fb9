// The emulated chip and its output buffer: single objects built before
// start-up. Only the audio thread touches them, or whoever holds the audio
// lock (the song compiler, tests).
#pragma once

#include "playback/expansion_chip.h"
#include "playback/nonlinear_buffer.h"
#include "playback/sound_chip.h"

extern SoundChip soundChip;
extern ExpansionChip expansionChip;
extern Nonlinear_Buffer outputBuffer;
