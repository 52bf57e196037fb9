// Pitch and vibrato tables, pure functions of their index: the editor's
// player fills its tables from them and the cartridge player's tables are
// written from them at build time, so both play the same pitches.
#pragma once

#include <cstdint>

namespace qc {

// Note 1..96 (C-0 is 32.7 Hz): the pulse timer divides the CPU clock by
// 16 * (period + 1); the table keeps the plain quotient, truncated.
int32_t notePeriod(double cpuClock, int note);
// Index 0..63: a triangle over 32 steps, 0..240 in steps of 16, twice.
int32_t vibratoWaveValue(int index);
// Phase 0..15 of a quarter sine, depth 0..15.
int32_t vibratoAmplitude(int phase, int depth);

}  // namespace qc
