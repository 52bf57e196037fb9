// Effect parameters as they read on screen, for code that writes songs by hand.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

// "37" as stored in a cell: the first digit in the low nibble.
inline uint8_t storedParam(const char* shown) {
  const int value = std::stoi(shown, nullptr, 16);
  return uint8_t((value >> 4 & 0x0F) | (value & 0x0F) << 4);
}

}  // namespace qc
