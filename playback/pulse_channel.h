// A 2A03 pulse channel: an 8-step duty sequencer clocked every 2 × (p + 1)
// CPU clocks, with envelope and sweep.
#pragma once

#include "playback/chip_channel.h"
#include "playback/step_synth.h"

namespace qc {

struct PulseChannel : ChipChannel {
  VolumeEnvelope envelope;
  int32_t sweepDivider = 0;
  int32_t phase = 0;  // 0..7

  // Half-frame clock. negateAdjust is -1 for Pulse 1 (ones' complement
  // negate) and 0 for Pulse 2.
  void clockSweep(int32_t negateAdjust);
  void run(const StepSynth& synth, int32_t end);
};

}  // namespace qc
