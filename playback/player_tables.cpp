#include "playback/player_tables.h"

#include "playback/clock_rates.h"
#include "playback/note_tables.h"

namespace qc {

void buildPeriodTable(Player& player) {
  auto& table = player.periodTable;
  const double clock = cpuClock(player.song->ntsc);
  table[0] = 0;
  for (int n = 1; n < kPeriodTableSize; ++n) table[n] = notePeriod(clock, n);
}

void buildVibratoTable(Player& player) {
  for (int i = 0; i < 64; ++i) player.vibratoWave[i] = vibratoWaveValue(i);
  for (int phase = 0; phase < 16; ++phase)
    for (int depth = 0; depth < 16; ++depth) player.vibratoTable[phase * 16 + depth] = vibratoAmplitude(phase, depth);
}

int rowThreshold(const Player& player) {
  if (!player.song->ntsc) return kRowThresholdPal;
  return player.options.rowTiming == RowTiming::kEditor ? kRowThresholdNtsc : kCartRowThresholdNtsc;
}

double framesPerSecond(bool ntsc) { return chipClockRate(ntsc) / kFrameClocks; }

}  // namespace qc
