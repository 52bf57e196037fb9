// The 2A03 noise: a 15-bit shift register clocked at a period from the noise
// table, output while its bit 0 is set.
#pragma once

#include "playback/chip_channel.h"
#include "playback/step_synth.h"

// The NTSC table in CPU clocks, used in both video standards.
inline constexpr std::array<int32_t, 16> kNoisePeriods = {4,   8,   16,  32,  64,  96,   128,  160,
                                                          202, 254, 380, 508, 762, 1016, 2034, 4068};
inline constexpr int32_t kNoiseResetShift = 0x4000;

struct NoiseChannel : ChipChannel {
  VolumeEnvelope envelope;
  int32_t shift = kNoiseResetShift;

  void run(const StepSynth& synth, int32_t end);
};
