// The chip's output one channel apart: a DeltaBuffer per channel, so that a
// sample holds five values, pulse 1, pulse 2, triangle, noise and the sample
// channel, each as the Nonlinear_Buffer would read that channel alone. The
// pulses are linear; each of the other three goes through a NonlinearMapper
// of its own, so a stem sounds as the channel does when the others are silent.
#pragma once

#include <array>

#include "playback/multi_buffer.h"
#include "playback/nonlinear_mapper.h"
#include "playback/sound_chip.h"

namespace qc {

class Stem_Buffer final : public Multi_Buffer {
 public:
  Stem_Buffer();

  // Channels beyond the chip's five (the expansion chip) render into pulse 1.
  ChannelBuffers channelBuffers(int32_t index) override;
  const char* setSampleRate(int32_t rate, int32_t lengthMs) override;
  void setClockRate(int32_t clocksPerSecond) override;
  void setBassFrequency(int32_t hz) override;
  void clearBuffer() override;
  void endFrame(int32_t clocks, bool addedStereo) override;
  int32_t readSamples(int16_t* destination, int32_t maximum) override;
  int32_t samplesAvailable() const override { return channels[0].samplesAvailable(); }

  std::array<DeltaBuffer, kChipChannels> channels;
  std::array<NonlinearMapper, kChipChannels> mappers;  // the pulses' stay unused
};

}  // namespace qc
