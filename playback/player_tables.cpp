#include "playback/note_tables.h"
#include "playback/player.h"
#include "song/app_state.h"

namespace {
// The clock rates the chip runs at (the NTSC one rounded).
constexpr double kNtscChipClock = 1789773.0;
constexpr double kPcmStepPal = 0.5000641025641026;  // 7801 / 15600
constexpr double kFrameClocks = 33247.5;  // 312 sub-steps of 106 or 107 clocks
}  // namespace

void buildPeriodTable() {
  auto& table = app.player.periodTable;
  const double clock = app.song.ntsc ? kNtscCpuClock : kPalCpuClock;
  table[0] = 0;
  for (int n = 1; n < kPeriodTableSize; ++n) table[n] = notePeriod(clock, n);
}

void buildVibratoTable() {
  for (int i = 0; i < 64; ++i) app.player.vibratoWave[i] = vibratoWaveValue(i);
  for (int phase = 0; phase < 16; ++phase)
    for (int depth = 0; depth < 16; ++depth)
      app.player.vibratoTable[phase * 16 + depth] = vibratoAmplitude(phase, depth);
}

int rowThreshold() {
  if (!app.song.ntsc) return kRowThresholdPal;
  return app.player.rowTiming == RowTiming::kEditor ? kRowThresholdNtsc : kCartRowThresholdNtsc;
}

double pcmStep() { return app.song.ntsc ? kPalOverNtscClock * kPcmStepPal : kPcmStepPal; }

double framesPerSecond() { return (app.song.ntsc ? kNtscChipClock : kPalCpuClock) / kFrameClocks; }
