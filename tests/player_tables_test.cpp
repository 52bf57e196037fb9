#include <gtest/gtest.h>

#include "playback/player.h"
#include "song/app_state.h"

namespace {

TEST(PeriodTable, MatchesThePulsePeriodsOfBothStandards) {
  const int32_t pal[12] = {3177, 2999, 2831, 2672, 2522, 2380, 2247, 2120, 2001, 1889, 1783, 1683};
  const int32_t ntsc[12] = {3420, 3228, 3047, 2876, 2715, 2562, 2418, 2283, 2154, 2034, 1919, 1812};
  for (bool isNtsc : {false, true}) {
    SCOPED_TRACE(isNtsc ? "NTSC" : "PAL");
    resetToProgramStart();
    app.song.ntsc = isNtsc;
    buildPeriodTable();
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(app.player.periodTable[n], (isNtsc ? ntsc : pal)[n - 1]) << "note " << n;
    EXPECT_EQ(app.player.periodTable[0], 0);
    EXPECT_EQ(app.player.periodTable[96], isNtsc ? 14 : 13);
  }
}

TEST(VibratoTable, HoldsTheQuarterSineForEveryPhaseAndDepth) {
  resetToProgramStart();
  buildVibratoTable();
  const int32_t rows[16][16] = {
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2},
      {0, 0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 5},
      {0, 0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7, 8, 8},
      {0, 0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11},
      {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16},
      {0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13, 15, 16, 17, 19},
      {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 14, 15, 16, 18, 19, 21},
      {0, 1, 3, 4, 6, 7, 9, 10, 12, 13, 15, 17, 18, 20, 21, 23},
      {0, 1, 3, 4, 6, 8, 9, 11, 13, 14, 16, 18, 19, 21, 23, 24},
      {0, 1, 3, 5, 7, 8, 10, 12, 14, 15, 17, 19, 21, 22, 24, 26},
      {0, 1, 3, 5, 7, 9, 11, 12, 14, 16, 18, 20, 22, 24, 25, 27},
      {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 22, 24, 26, 28},
      {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29},
      {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29},
  };
  for (int phase = 0; phase < 16; ++phase)
    for (int depth = 0; depth < 16; ++depth)
      EXPECT_EQ(app.player.vibratoTable[phase * 16 + depth], rows[phase][depth])
          << "phase " << phase << " depth " << depth;
}

TEST(VibratoTable, WaveRisesFallsAndRepeats) {
  resetToProgramStart();
  buildVibratoTable();
  const auto& wave = app.player.vibratoWave;
  EXPECT_EQ(wave[0], 0);
  EXPECT_EQ(wave[15], 240);
  EXPECT_EQ(wave[16], 240);
  EXPECT_EQ(wave[31], 0);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(wave[32 + i], wave[i]);
}

TEST(StandardTiming, RowThresholdAndSampleStepFollowTheStandard) {
  resetToProgramStart();
  EXPECT_EQ(rowThreshold(), 32000);
  EXPECT_DOUBLE_EQ(pcmStep(), 7801.0 / 15600.0);
  app.song.ntsc = true;
  EXPECT_EQ(rowThreshold(), 34448);
  EXPECT_DOUBLE_EQ(pcmStep(), 0.9289487044723371 * 0.5000641025641026);
}

}  // namespace
