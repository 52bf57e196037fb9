// The console's clocks and the audio loop's time geometry.
#pragma once

#include <cstdint>

namespace qc {

inline constexpr double kPalCpuClock = 1662607.0;
inline constexpr double kNtscCpuClock = 1789772.6666666667;
// The rates the emulated chip runs at: clocks per second, NTSC rounded.
inline constexpr int32_t kPalClockRate = 1662607;
inline constexpr int32_t kNtscClockRate = 1789773;
// PAL CPU clock over NTSC CPU clock: an NTSC console runs time-based data
// (raw-sample bytes, metronome periods) this much faster. One ulp above the
// quotient in double precision, as the first tables were made with it.
inline constexpr double kPalOverNtscClock = 0.9289487044723371;

// A player frame is 312 sub-steps of 106 or 107 CPU clocks, 33247.5 on average.
inline constexpr int kSubStepsPerFrame = 312;
inline constexpr double kFrameClocks = 33247.5;
inline constexpr int kOutputRate = 44100;  // samples per second

inline double cpuClock(bool ntsc) { return ntsc ? kNtscCpuClock : kPalCpuClock; }
inline int32_t chipClockRate(bool ntsc) { return ntsc ? kNtscClockRate : kPalClockRate; }

}  // namespace qc
