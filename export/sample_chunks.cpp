#include "export/sample_chunks.h"

#include "playback/clock_rates.h"

namespace qc {

namespace {

constexpr int kPageBytes = 256;
constexpr int kTailPageEnd = kPageBytes - 4;  // 9 tail parts fill 252 bytes
constexpr uint8_t kFill = 0xFF;

int lastUsedSlot(const std::array<RawSample, kSampleSlots>& samples) {
  for (int s = kSampleSlots - 1; s >= 1; s--)
    if (samples[s].holdsData()) return s;
  return 0;
}

}  // namespace

std::vector<uint8_t> stretchForNtsc(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  double x = 0.0;
  for (size_t i = 0; i < data.size(); i = size_t(x)) {
    out.push_back(data[i]);
    x += kPalOverNtscClock;
  }
  return out;
}

PreparedSamples prepareSamples(const std::array<RawSample, kSampleSlots>& samples, bool ntsc) {
  PreparedSamples prepared;
  for (int slot = 1; slot <= lastUsedSlot(samples); slot++) {
    std::vector<uint8_t> data = ntsc ? stretchForNtsc(samples[slot].data) : samples[slot].data;
    if (!data.empty()) data.resize((data.size() + kChunkBytes - 1) / kChunkBytes * kChunkBytes, data.back());
    SampleEntry entry;
    entry.mainOffset = uint32_t(prepared.main.size());
    entry.tailOffset = uint32_t(prepared.tail.size());
    entry.chunks = uint32_t(data.size() / kChunkBytes);
    entry.loop = samples[slot].loop;
    prepared.entries.push_back(entry);
    for (size_t at = 0; at < data.size(); at += kChunkBytes) {
      prepared.main.insert(prepared.main.end(), data.begin() + at, data.begin() + at + kChunkHeadBytes);
      prepared.tail.insert(prepared.tail.end(), data.begin() + at + kChunkHeadBytes, data.begin() + at + kChunkBytes);
      if (prepared.tail.size() % kPageBytes == kTailPageEnd) prepared.tail.insert(prepared.tail.end(), 4, kFill);
    }
  }
  prepared.main.resize((prepared.main.size() + kBankBytes - 1) / kBankBytes * kBankBytes, kFill);
  return prepared;
}

}  // namespace qc
