// A sample chunk: the 156 DAC levels the console drivers play in one tick,
// kept as a 128-byte head and a 28-byte tail so that the drivers can place
// each where no page crossing splits it.
#pragma once

namespace qc {

inline constexpr int kChunkBytes = 156;
inline constexpr int kChunkHeadBytes = 128;
inline constexpr int kChunkTailBytes = kChunkBytes - kChunkHeadBytes;

}  // namespace qc
