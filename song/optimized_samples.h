// The optimized samples file (.qcs): one raw sample cut into 16 KB banks for
// the NES window $8000-$BFFF, each bank 100 chunks of 156 levels. A chunk's
// 128-byte head and 28-byte tail sit where no page crossing can split them,
// and four address tables at the start of the bank point at them:
//
//   0x0000  low bytes of head addresses  A_i = 0x8200 + 128*i    (28 zero bytes after)
//   0x0080  high bytes of A_i
//   0x0100  low bytes of tail addresses  T_i = 0xB400 + 4*(7*i + i/9)
//   0x0180  high bytes of T_i
//   0x0200  the 100 heads
//   0x3400  the 100 tails, nine to a 256-byte page (4 zero bytes after each ninth)
//   0x3F1C  228 zero bytes
//
// The last bank's levels past the sample's end are 0x40, the DAC's centre.
#pragma once

#include <string>

#include "song/byte_writer.h"
#include "song/sample_chunk.h"
#include "song/song.h"

namespace qc {

inline constexpr int kBankSize = 16384;
inline constexpr int kChunksPerBank = 100;
inline constexpr int kBankSampleBytes = kChunksPerBank * kChunkBytes;  // 15600
inline constexpr uint8_t kSampleFill = 0x40;

// CPU addresses of chunk i's head and tail within its bank.
constexpr uint16_t chunkHeadAddress(int i) { return uint16_t(0x8200 + kChunkHeadBytes * i); }
constexpr uint16_t chunkTailAddress(int i) { return uint16_t(0xB400 + 4 * (7 * i + i / 9)); }

// The banks of one sample: none for an empty slot.
Bytes encodeOptimizedSamples(const RawSample& sample);
// Writes `currentSample` through writeFileSafely. False without creating a
// file when it is 0; an empty slot gives an empty file and true.
bool saveOptimizedSamples(const std::string& path);

}  // namespace qc
