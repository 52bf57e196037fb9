// The output buffer interface the audio loop drives. The sample rate, the
// clock rate and the slice ends are set through it; channels obtain the
// DeltaBuffer they render into with channelBuffers.
#pragma once

#include <cstdint>

#include "playback/delta_buffer.h"

namespace qc {

struct ChannelBuffers {
  DeltaBuffer* centre;
  DeltaBuffer* left;
  DeltaBuffer* right;
};

class Multi_Buffer {
 public:
  explicit Multi_Buffer(int32_t samplesPerFrame) : samplesPerFrame(samplesPerFrame) {}
  virtual ~Multi_Buffer() = default;

  virtual bool setChannelCount(int32_t count);
  virtual ChannelBuffers channelBuffers(int32_t index) = 0;
  // Error text, or nullptr on success. Length 0 selects the largest buffer.
  virtual const char* setSampleRate(int32_t rate, int32_t lengthMs) = 0;
  virtual void setClockRate(int32_t clocksPerSecond) = 0;
  virtual void setBassFrequency(int32_t hz) = 0;
  virtual void clearBuffer() = 0;
  // Ends a time slice of the given CPU clocks.
  virtual void endFrame(int32_t clocks, bool addedStereo) = 0;
  // Up to maximum samples of samplesPerFrame values each, interleaved.
  virtual int32_t readSamples(int16_t* destination, int32_t maximum) = 0;
  virtual int32_t samplesAvailable() const = 0;

  int32_t sampleRate = 0;
  int32_t lengthMs = 0;
  int32_t samplesPerFrame;  // values per sample: 1 for mono
};

}  // namespace qc
