// The 2A03 triangle: a 32-step ramp 15..0..15 clocked every p + 1 CPU clocks,
// gated by the length and linear counters.
#pragma once

#include "playback/chip_channel.h"
#include "playback/step_synth.h"

namespace qc {

inline constexpr int32_t kTriangleResetPhase = 16;

struct TriangleChannel : ChipChannel {
  int32_t phase = kTriangleResetPhase;  // 1..32
  int32_t linearCounter = 0;

  // 16 - n for n <= 16, n - 17 above.
  int32_t amplitude() const;
  // Quarter-frame clock.
  void clockLinearCounter();
  // When stopped the ramp holds its level instead of dropping to 0 (no click).
  void run(const StepSynth& synth, int32_t end);
};

}  // namespace qc
