// Raw samples cut into the NSF driver's 156-byte chunks: 128-byte main parts
// and 28-byte tail parts in two regions that the driver reads through its
// 4 KB window at $C000.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "song/sample_chunk.h"
#include "song/song.h"

namespace qc {

inline constexpr int kBankBytes = 4096;

// Where one sample slot's chunks start in the two regions.
struct SampleEntry {
  uint32_t mainOffset = 0;
  uint32_t tailOffset = 0;
  uint32_t chunks = 0;
  bool loop = false;
};

struct PreparedSamples {
  std::vector<uint8_t> main;  // whole banks, 0xFF-padded (empty without samples)
  std::vector<uint8_t> tail;  // 9 tail parts and 4 bytes 0xFF to a page
  std::vector<SampleEntry> entries;  // slots 1..S, S = the last slot with data
};

// Resamples so the data lasts as long on an NTSC console as on a PAL one.
std::vector<uint8_t> stretchForNtsc(const std::vector<uint8_t>& data);
PreparedSamples prepareSamples(const std::array<RawSample, kSampleSlots>& samples, bool ntsc);

}  // namespace qc
