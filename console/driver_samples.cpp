#include "console/driver_samples.h"

#include "export/sample_chunks.h"

namespace qc {

namespace {

constexpr int kDacShift = 108;  // the first chunk position a tick plays
constexpr uint8_t kSilence = 0x3F;

}  // namespace

DriverSamples::DriverSamples(const std::array<RawSample, kSampleSlots>& samples, bool ntsc)
    : padded_(kSampleSlots), loops_(kSampleSlots), previous_(kChunkBytes, kSilence) {
  for (int s = 1; s < kSampleSlots; s++) {
    std::vector<uint8_t> data = ntsc ? stretchForNtsc(samples[s].data) : samples[s].data;
    if (!data.empty()) data.resize((data.size() + kChunkBytes - 1) / kChunkBytes * kChunkBytes, data.back());
    padded_[size_t(s)] = data;
    loops_[size_t(s)] = samples[s].loop;
  }
}

std::vector<uint8_t> DriverSamples::tick(int value) {
  if (playing_ >= 0 && ++chunk_ * kChunkBytes == padded_[size_t(playing_)].size()) {
    if (loops_[size_t(playing_)]) chunk_ = 0;
    else playing_ = -1;
  }
  if (value != lastValue_) {
    lastValue_ = value;
    if (value > 0 && value < kSampleSlots) {
      playing_ = padded_[size_t(value)].empty() ? -1 : value;
      chunk_ = 0;
    }
  }
  std::vector<uint8_t> chunk(kChunkBytes, kSilence);
  if (playing_ >= 0) {
    auto from = padded_[size_t(playing_)].begin() + long(chunk_ * kChunkBytes);
    chunk.assign(from, from + kChunkBytes);
  }
  std::vector<uint8_t> played(previous_.begin() + kDacShift, previous_.end());
  played.insert(played.end(), chunk.begin(), chunk.begin() + kDacShift);
  previous_ = chunk;
  return played;
}

}  // namespace qc
