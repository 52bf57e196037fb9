// The 2A03 sound unit: two pulses, triangle, noise and the sample channel,
// with their frame sequencer.
//
// Time: every write carries a CPU clock within the current time slice; the
// chip first runs up to it, then applies the write. endSlice(clocks) runs to
// the slice's end and makes every time stamp relative to the next slice.
// The channels are independent, so a write runs only the channel it changes
// (all of them for 0x4015) and the noise; every frame-sequencer step and the
// slice end bring all of them up to its time. The output is the same as
// running every channel at every write.
// Channel output changes go as band-limited steps into each channel's
// DeltaBuffer (setOutput); a channel without one is not rendered.
//
// The chip is reset for PAL at construction and never again: the frame
// sequencer period is 8314 and the sample channel uses the PAL rate row in
// both video standards. Only the clock rate set on the output buffer differs.
#pragma once

#include <cstdint>

#include "playback/frame_sequencer.h"
#include "playback/noise_channel.h"
#include "playback/pulse_channel.h"
#include "playback/sample_channel.h"
#include "playback/step_synth.h"
#include "playback/triangle_channel.h"

namespace qc {

inline constexpr int kChipChannels = 5;  // pulse 1, pulse 2, triangle, noise, sample channel

struct SoundChip {
  SoundChip();

  // 0x4000..0x4017; other addresses are ignored.
  void writeRegister(int32_t time, uint32_t address, uint8_t value);
  void runUntil(int32_t time);
  void endSlice(int32_t clocks);
  // Nonlinear: levels for the Nonlinear_Buffer's mapped tnd half.
  void setOutputLevels(bool nonlinear, double volume);
  void setSampleRate(int32_t rate);
  void reset(bool pal);
  void setOutput(int channel, DeltaBuffer* buffer);

  PulseChannel pulse1;
  PulseChannel pulse2;
  TriangleChannel triangle;
  NoiseChannel noise;
  SampleChannel sample;
  FrameSequencer sequencer;
  int32_t lastTime = 0;  // clock the frame sequencer has run to within the slice
  uint8_t status = 0;    // as written to 0x4015, less a finished sample
  StepSynth pulseSynth{kWideKernel};
  StepSynth triangleSynth{kWideKernel};
  StepSynth noiseSynth{kNarrowKernel};
  StepSynth sampleSynth{kNarrowKernel};

 private:
  ChipChannel& channel(int index);
  void runSequencer(int32_t end);
  void runChannel(int index, int32_t end);
  void runChannels(int32_t end);
  void clockQuarterFrame();
  void clockHalfFrame();
};

}  // namespace qc
