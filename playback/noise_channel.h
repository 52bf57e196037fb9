// The 2A03 noise: a 15-bit shift register clocked at a period from the noise
// table, output while its bit 0 is set.
#pragma once

#include "playback/chip_channel.h"
#include "playback/step_synth.h"

namespace qc {

// The tables in CPU clocks: a PAL console's own, for the PAL clock.
inline constexpr std::array<int32_t, 16> kNoisePeriods = {4,   8,   16,  32,  64,  96,   128,  160,
                                                          202, 254, 380, 508, 762, 1016, 2034, 4068};
inline constexpr std::array<int32_t, 16> kPalNoisePeriods = {4,   8,   14,  30,  60,  88,   118,  148,
                                                             188, 236, 354, 472, 708, 944, 1890, 3778};
inline constexpr int32_t kNoiseResetShift = 0x4000;

struct NoiseChannel : ChipChannel {
  VolumeEnvelope envelope;
  int32_t shift = kNoiseResetShift;
  bool pal = false;  // set with the chip's clock rate

  void run(const StepSynth& synth, int32_t end);
};

}  // namespace qc
