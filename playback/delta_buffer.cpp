#include "playback/delta_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace qc {

DeltaBuffer::DeltaBuffer() { setBassFrequency(kDefaultBassFrequency); }

bool DeltaBuffer::setSampleRate(int32_t rate, int32_t length) {
  int32_t newSize = kLargestBufferSamples;
  if (length != 0) {
    const int64_t asked = ((int64_t(length) + 1) * rate + 999) / 1000;
    newSize = int32_t(std::min<int64_t>(asked, kLargestBufferSamples));
  }
  if (newSize != size || entries.empty()) {
    try {
      std::vector<uint16_t>(size_t(newSize) + kSpareEntries).swap(entries);
    } catch (const std::bad_alloc&) {
      entries.clear();
      size = 0;
      offset = 0;
      return false;
    }
  }
  size = newSize;
  sampleRate = rate;
  lengthMs = int32_t(int64_t(size) * 1000 / rate - 1);
  if (clockRate) setClockRate(clockRate);
  setBassFrequency(bassFrequency);
  clear();
  return true;
}

void DeltaBuffer::setClockRate(int32_t clocksPerSecond) {
  clockRate = clocksPerSecond;
  factor = uint32_t(std::floor(double(sampleRate) / clocksPerSecond * 65536.0 + 0.5));
}

void DeltaBuffer::setBassFrequency(int32_t hz) {
  bassFrequency = hz;
  if (hz == 0) {
    bassShift = 31;
    return;
  }
  const int32_t shift = 1 + int32_t(std::floor(std::log2(sampleRate * 0.124 / hz)));
  bassShift = std::clamp(shift, 0, 24);
}

void DeltaBuffer::clear() {
  offset = 0;
  integrator = 0;
  std::fill(entries.begin(), entries.end(), kRestEntry);
}

void DeltaBuffer::removeSamples(int32_t count) {
  if (count <= 0) return;
  offset -= uint32_t(count) << 16;
  // The pending samples plus the kernel overhang; never past the array's end.
  const int32_t total = int32_t(entries.size());
  const int32_t keep = std::min(samplesAvailable() + kSpareEntries + 1, total - count);
  std::memmove(entries.data(), entries.data() + count, size_t(keep) * sizeof(uint16_t));
  std::fill(entries.begin() + keep, entries.begin() + keep + count, kRestEntry);
}

}  // namespace qc
