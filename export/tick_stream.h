// The change-coded bit streams of the NSF export: one tick record per channel
// per tick, in the fields of ExportCapture.
//
// Bits fill each byte from bit 0 upward. A change-coded field stores a 0 bit
// when its value is -1 or equals the previous tick's value, else a 1 bit and
// the value in the field's width, most significant bit first. The triangle's
// on field is a bare bit on every tick.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "playback/player_state.h"
#include "song/song.h"

namespace qc {

using TickFields = std::array<int32_t, kExportFields>;

inline constexpr TickFields kNoFields = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
// Bits stored per value, by field.
inline constexpr std::array<int, kExportFields> kFieldWidth = {3, 8, 6, 3, 8, 6, 3, 8, 1, 5, 4, 8};
// Channel c owns fields kChannelFields[c] up to kChannelFields[c + 1].
inline constexpr std::array<int, kChannels + 1> kChannelFields = {0, 3, 6, 9, 11, 12};

class BitWriter {
 public:
  void put(bool bit);
  // width bits of value, most significant first.
  void putValue(uint32_t value, int width);
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int used_ = 8;  // bits used of the last byte; 8 = a new byte is due
};

// Appends one tick of one channel: `previous` is the record of the tick
// before in the same pass (kNoFields at a pass's first tick).
void encodeChannelTick(int channel, const TickFields& previous, const TickFields& current, BitWriter& out);

}  // namespace qc
