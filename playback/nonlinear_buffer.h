// The chip's output: the two pulses in one DeltaBuffer mixed linearly, the
// triangle, noise and sample channel in another read through the
// NonlinearMapper, summed into signed 16-bit mono samples.
#pragma once

#include "playback/multi_buffer.h"
#include "playback/nonlinear_mapper.h"

namespace qc {

inline constexpr const char* kOutOfMemory = "Out of memory";

// A summed level as a signed 16-bit sample: a sum that does not fit
// saturates to 32767 or -32768.
inline int16_t saturated(int32_t out) { return int16_t(out) == out ? int16_t(out) : int16_t(0x7FFF - (out >> 24)); }

class Nonlinear_Buffer final : public Multi_Buffer {
 public:
  Nonlinear_Buffer() : Multi_Buffer(1) {}

  // Channels 2, 3 and 4 (triangle, noise, sample channel) get the tnd buffer.
  ChannelBuffers channelBuffers(int32_t index) override;
  const char* setSampleRate(int32_t rate, int32_t lengthMs) override;
  void setClockRate(int32_t clocksPerSecond) override;
  void setBassFrequency(int32_t hz) override;
  void clearBuffer() override;
  void endFrame(int32_t clocks, bool addedStereo) override;
  // A sum that does not fit in 16 bits saturates to 32767 or -32768.
  int32_t readSamples(int16_t* destination, int32_t maximum) override;
  int32_t samplesAvailable() const override { return pulse.samplesAvailable(); }

  DeltaBuffer pulse;
  DeltaBuffer tnd;
  NonlinearMapper mapper;
};

}  // namespace qc
