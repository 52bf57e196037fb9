// One band-limited output buffer. Entry i holds the change of the output level
// during output sample i, as a uint16 around the rest value 0x7F7F; reading
// integrates the changes (with a bass cut) into samples.
//
// Time: a writer stamps a change at CPU clock t of the current time slice; it
// lands at the 16.16 fixed-point sample position offset + t × factor. endFrame
// moves offset to the start of the next slice, so offset >> 16 is the count of
// finished samples.
#pragma once

#include <cstdint>
#include <vector>

namespace qc {

inline constexpr uint16_t kRestEntry = 0x7F7F;
// Overhang of the widest kernel past the last finished sample.
inline constexpr int32_t kSpareEntries = 24;
// 16.16 positions must stay below 2^32: 65536 samples less the spare entries and a margin.
inline constexpr int32_t kLargestBufferSamples = 65448;
inline constexpr int32_t kDefaultBassFrequency = 16;

struct DeltaBuffer {
  uint32_t factor = 0;  // output samples per CPU clock, 16.16
  uint32_t offset = 0;  // 16.16 sample position of the current slice's start
  std::vector<uint16_t> entries;  // size + kSpareEntries
  int32_t size = 0;               // in samples
  int32_t integrator = 0;         // reading level, 17.15
  int32_t bassShift = 0;
  int32_t sampleRate = 44100;
  int32_t clockRate = 0;
  int32_t bassFrequency = kDefaultBassFrequency;
  int32_t lengthMs = 0;

  DeltaBuffer();

  // Length 0 selects the largest buffer. False when the array can't be allocated.
  bool setSampleRate(int32_t rate, int32_t length);
  void setClockRate(int32_t clocksPerSecond);
  void setBassFrequency(int32_t hz);
  void clear();
  void endFrame(int32_t clocks) { offset += factor * uint32_t(clocks); }
  int32_t samplesAvailable() const { return int32_t(offset >> 16); }
  uint32_t positionAt(int32_t clock) const { return offset + uint32_t(clock) * factor; }
  // Drops the first count samples; the pending ones move to the front.
  void removeSamples(int32_t count);
};

}  // namespace qc
