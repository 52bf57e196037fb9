// The NSF file: the 128-byte header, the driver as bank 0, the table bank,
// the stream banks, then the samples' main region and tail region.
//
// NSF data offset = file offset - 128; bank n is data bytes n * 4096 on. The
// driver maps the table bank at $9000, a channel's stream bank at $A000 and
// a sample bank at $C000.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/sample_chunks.h"
#include "export/stream_patterns.h"

namespace qc {

inline constexpr int kNsfHeaderBytes = 128;
inline constexpr int kNsfNameBytes = 32;  // 31 characters and a zero
inline constexpr int kNsfTitleOffset = 14;
inline constexpr int kNsfPalOffset = 122;
inline constexpr int kTableBank = 1;
inline constexpr int kFirstStreamBank = 2;
inline constexpr int kMaxBank = 255;
inline constexpr int kMaxStreamPatterns = 255;  // 0xFF ends an order list
inline constexpr int kMaxOrderPasses = 255;     // the driver's order index is a byte
inline constexpr int kMaxPatternTicks = 65536;  // ticks - 1 is stored in 16 bits
inline constexpr uint8_t kOrderListEnd = 0xFF;
inline constexpr uint16_t kStreamWindow = 0xA000;
inline constexpr uint16_t kSampleWindow = 0xC000;

// Title, artist and copyright: the names of instruments 1, 2 and 3.
using NsfNames = std::array<std::string, 3>;

// The whole file, or nothing when the song breaks a limit of the format:
// more than 255 passes or stream patterns on a channel, a stream pattern over
// one bank or 65536 ticks, a table bank over 4096 bytes, a bank number over 255.
std::optional<std::vector<uint8_t>> buildNsfFile(const SongStreams& streams, const PreparedSamples& samples,
                                                 const NsfNames& names, bool ntsc);

}  // namespace qc
