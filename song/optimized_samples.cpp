#include "song/optimized_samples.h"

#include <algorithm>

#include "song/app_state.h"
#include "song/safe_file.h"

namespace qc {

namespace {

constexpr int kTableSize = 128;
constexpr int kTailsPerPage = 9;

void putAddressTables(Bytes& bank) {
  for (auto address : {chunkHeadAddress, chunkTailAddress}) {
    for (int shift : {0, 8})
      for (int i = 0; i < kTableSize; ++i) putByte(bank, i < kChunksPerBank ? address(i) >> shift : 0);
  }
}

}  // namespace

Bytes encodeOptimizedSamples(const RawSample& sample) {
  const size_t banks = (sample.data.size() + kBankSampleBytes - 1) / kBankSampleBytes;
  std::vector<uint8_t> levels(banks * kBankSampleBytes, kSampleFill);
  std::copy(sample.data.begin(), sample.data.end(), levels.begin());

  Bytes out;
  out.reserve(banks * kBankSize);
  for (size_t b = 0; b < banks; ++b) {
    const size_t bankStart = out.size();
    const uint8_t* chunks = levels.data() + b * kBankSampleBytes;
    putAddressTables(out);
    for (int i = 0; i < kChunksPerBank; ++i)
      out.insert(out.end(), chunks + kChunkBytes * i, chunks + kChunkBytes * i + kChunkHeadBytes);
    for (int i = 0; i < kChunksPerBank; ++i) {
      const uint8_t* tail = chunks + kChunkBytes * i + kChunkHeadBytes;
      out.insert(out.end(), tail, tail + kChunkTailBytes);
      if (i % kTailsPerPage == kTailsPerPage - 1) out.insert(out.end(), 4, 0);
    }
    out.resize(bankStart + kBankSize, 0);
  }
  return out;
}

bool saveOptimizedSamples(const std::string& path) {
  const int slot = app.editor.currentSample;
  if (slot == 0) return false;
  return writeFileSafely(path, encodeOptimizedSamples(app.song.samples[slot]));
}

}  // namespace qc
