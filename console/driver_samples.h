// The NSF driver's sample channel as the exported data describes it: the
// samples as prepared (stretched for NTSC, padded to whole chunks) and, for
// each tick's sample value, the 156 DAC bytes the driver plays.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "song/song.h"

namespace qc {

class DriverSamples {
 public:
  DriverSamples(const std::array<RawSample, kSampleSlots>& samples, bool ntsc);
  // The DAC bytes of one tick: the end of the previous tick's chunk, then
  // the start of this tick's. A value that differs from the last one seen
  // starts that sample (0 starts nothing); a sample ends after its last
  // chunk or loops back to its first.
  std::vector<uint8_t> tick(int sampleValue);

 private:
  std::vector<std::vector<uint8_t>> padded_;  // by slot
  std::vector<bool> loops_;
  std::vector<uint8_t> previous_;
  int playing_ = -1;  // slot, -1 = stopped
  size_t chunk_ = 0;
  int lastValue_ = 255;  // the driver starts with 255 as the last value seen
};

}  // namespace qc
