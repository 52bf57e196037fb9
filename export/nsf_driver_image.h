// The NSF driver (export/nsf_driver.s), assembled at build time: one 4 KB
// bank loaded at $F000.
#pragma once

#include <array>
#include <cstdint>

namespace qc {

inline constexpr int kNsfDriverBytes = 4096;
inline constexpr uint16_t kNsfLoadAddress = 0xF000;
inline constexpr uint16_t kNsfInitAddress = 0xF04B;
inline constexpr uint16_t kNsfPlayAddress = 0xF139;
// Driver timing: play waits this many cycles until its first DAC write, then
// writes kChunkBytes DAC bytes per tick; ticks last 33260 and 33261 cycles.
inline constexpr uint64_t kNsfPlayWait = 332470;
inline constexpr int kNsfShortTick = 33260;

extern const std::array<uint8_t, kNsfDriverBytes> kNsfDriverImage;

}  // namespace qc
