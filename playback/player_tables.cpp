#include <cmath>

#include "playback/player.h"
#include "song/app_state.h"

namespace {
constexpr double kNtscCpuClock = 1789772.6666666667;
constexpr double kPalCpuClock = 1662607.0;
// The clock rates the chip runs at (the NTSC one rounded).
constexpr double kNtscChipClock = 1789773.0;
constexpr double kLowestNoteHz = 32.7;  // note 1, shown as C-0
constexpr double kPcmStepPal = 0.5000641025641026;  // 7801 / 15600
constexpr double kFrameClocks = 33247.5;  // 312 sub-steps of 106 or 107 clocks
constexpr double kSinglePrecisionPi = 3.1415927410125732;
}  // namespace

void buildPeriodTable() {
  auto& table = app.player.periodTable;
  // The pulse timer divides the CPU clock by 16 * (period + 1); the table
  // keeps the plain quotient, truncated.
  const double clock = app.song.ntsc ? kNtscCpuClock : kPalCpuClock;
  table[0] = 0;
  for (int n = 1; n < kPeriodTableSize; ++n)
    table[n] = int32_t(clock / 16.0 / (kLowestNoteHz * std::pow(2.0, (n - 1) / 12.0)));
}

void buildVibratoTable() {
  auto& wave = app.player.vibratoWave;
  for (int i = 0; i < 16; ++i) {
    wave[i] = i * 16;
    wave[16 + i] = (15 - i) * 16;
  }
  for (int i = 0; i < 32; ++i) wave[32 + i] = wave[i];

  // A quarter sine in single precision, as the table was first computed.
  for (int phase = 0; phase < 16; ++phase) {
    const float x = float(phase * kSinglePrecisionPi / 32.0);
    const float s = float(std::sin(double(x)));
    for (int depth = 0; depth < 16; ++depth)
      app.player.vibratoTable[phase * 16 + depth] = int32_t(depth * 2 * s);
  }
}

int rowThreshold() {
  if (!app.song.ntsc) return kRowThresholdPal;
  return app.player.rowTiming == RowTiming::kEditor ? kRowThresholdNtsc : kCartRowThresholdNtsc;
}

double pcmStep() { return app.song.ntsc ? kPalOverNtscClock * kPcmStepPal : kPcmStepPal; }

double framesPerSecond() { return (app.song.ntsc ? kNtscChipClock : kPalCpuClock) / kFrameClocks; }
