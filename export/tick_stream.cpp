#include "export/tick_stream.h"

namespace qc {

void BitWriter::put(bool bit) {
  if (used_ == 8) {
    bytes_.push_back(0);
    used_ = 0;
  }
  if (bit) bytes_.back() = uint8_t(bytes_.back() | 1 << used_);
  used_++;
}

void BitWriter::putValue(uint32_t value, int width) {
  for (int b = width - 1; b >= 0; b--) put((value >> b) & 1);
}

void encodeChannelTick(int channel, const TickFields& previous, const TickFields& current, BitWriter& out) {
  for (int f = kChannelFields[channel]; f < kChannelFields[channel + 1]; f++) {
    int32_t value = current[f];
    if (f == kCapTriangleOn) {
      out.put(value & 1);
    } else if (value == -1 || value == previous[f]) {
      out.put(false);
    } else {
      out.put(true);
      out.putValue(uint32_t(value), kFieldWidth[f]);
    }
  }
}

}  // namespace qc
