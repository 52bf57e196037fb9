// The 2A03 frame sequencer: four steps a period apart that clock the
// envelopes and linear counter (every step) and the length counters and
// sweeps (steps 0 and 2).
#pragma once

#include <cstdint>

namespace qc {

inline constexpr int32_t kNtscFramePeriod = 7458;
inline constexpr int32_t kPalFramePeriod = 8314;

struct FrameSequencer {
  int32_t period = kPalFramePeriod;  // CPU clocks
  int32_t delay = 0;                 // clocks to the next step
  int32_t step = 0;                  // step counter
  uint8_t mode = 0;                  // last value written to 0x4017

  // Four-step mode (bit 7 clear) restarts a period away; five-step mode
  // takes its first step within one clock, which clocks lengths and sweeps.
  void writeMode(uint8_t value);
  // Takes the step that is due; true when it is a half-frame step.
  bool takeStep();
};

}  // namespace qc
