// The iNES image of a song for the Konami VRC6 (mapper 24), built in memory.
//
//   16-byte header: "NES" 0x1A, PRG bank count, 1 CHR bank, mapper 24
//   PRG ROM (16 KB banks, a power of two, at most 128):
//     pattern banks: 16 patterns of 832 bytes a bank, rows of 13 bytes
//     sample data from the next 16 KB boundary: each slot 1..S, then its end
//       byte (0xFE loops, 0xFF stops), padded to 16 KB
//     zero banks until the count with the last bank is a power of two
//     last bank: the table half (CPU $C000) and the player image ($E000)
//   CHR ROM: 8 KB of tiles
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "song/song.h"

namespace qc {

inline constexpr int kInesHeaderSize = 16;
inline constexpr int kPrgBankSize = 16384;
inline constexpr int kPrgHalfBankSize = 8192;
inline constexpr int kMaxPrgBanks = 128;
inline constexpr int kCartImageSize = 8192;  // the player image and the CHR ROM each
inline constexpr int kRomRowBytes = 13;      // 4 tone cells of 3 bytes, the sample byte
inline constexpr int kRomPatternBytes = kRows * kRomRowBytes;
inline constexpr int kRomPatternsPerBank = 16;
inline constexpr uint8_t kRomSampleLoopEnd = 0xFE;
inline constexpr uint8_t kRomSampleStopEnd = 0xFF;

struct RomImage {
  std::vector<uint8_t> bytes;  // empty when the song cannot be exported
  std::string error;           // why not, for the command line
};

// The whole file: header, PRG ROM with `player` as its last 8 KB, `chr`.
RomImage buildRomImage(const Song& song, std::span<const uint8_t, kCartImageSize> player,
                       std::span<const uint8_t, kCartImageSize> chr);

// One pattern as the cartridge reads it: rows of the four tone cells (note,
// byte 1 with effect low and instrument high, parameter as its value) and
// the track-4 note byte.
std::vector<uint8_t> romPattern(const Pattern& pattern);

}  // namespace qc
