// Little-endian appending to a file image built in memory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qc {

using Bytes = std::vector<uint8_t>;

inline void putByte(Bytes& out, uint32_t value) { out.push_back(uint8_t(value)); }

inline void putU32(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

inline void putText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

}  // namespace qc
