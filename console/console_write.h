// A register write the console's CPU made to the sound unit ($4000-$4017).
#pragma once

#include <cstdint>

namespace qc {

struct ConsoleWrite {
  uint64_t cycle;  // CPU cycles since power-on
  uint16_t address;
  uint8_t value;
};

inline constexpr uint16_t kApuFirstRegister = 0x4000;
inline constexpr uint16_t kApuLastRegister = 0x4017;
inline constexpr uint16_t kApuDac = 0x4011;

}  // namespace qc
