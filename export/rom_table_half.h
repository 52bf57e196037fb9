// The table half of a cartridge image: the 8 KB the player reads at CPU $C000
// (its 8 KB bank 254). Word addresses are little-endian CPU addresses.
//
//   $C000  address of the instrument pointer table ($C007 + orderCount)
//   $C002  address of the pattern pointer table (+ 30)
//   $C004  address of the sample table (+ 2 x patterns)
//   $C006  order list, one byte an entry, then 0x80
//          15 instrument record addresses (instruments 1..15)
//          pattern addresses, $8000 + (p mod 16) x 832
//          sample table: address in the $C000 window and 8 KB bank, per slot
//          15 instrument records of 255 bytes
//          15 name lines of 32 tiles
//          zero up to $E000
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "song/song.h"

namespace qc {

inline constexpr int kTableHalfSize = 8192;
inline constexpr uint16_t kTableHalfAddress = 0xC000;
inline constexpr int kRomEnvelopeRecordSize = 85;
inline constexpr int kRomInstrumentRecordSize = kEnvelopeKinds * kRomEnvelopeRecordSize;
inline constexpr uint8_t kRomOrderListEnd = 0x80;
inline constexpr uint8_t kRomEnvelopeEnd = 0xFF;

// Where a sample's first byte lies: its address in the $C000 window and the
// 8 KB PRG bank to select there.
struct SampleTableEntry {
  uint16_t address;
  uint8_t bank;
};

// Volume, Note and Duty/Mode envelopes, 85 bytes each: the values, 0xFF, the
// loop position relative to the 0xFF byte (mod 256), zeros.
std::array<uint8_t, kRomInstrumentRecordSize> instrumentRecord(const Song& song, int instrument);

// The 8 KB table half, or nothing when the tables would not fit in it.
std::optional<std::vector<uint8_t>> buildTableHalf(const Song& song, int patternCount,
                                                   const std::vector<SampleTableEntry>& samples);

}  // namespace qc
