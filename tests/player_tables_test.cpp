#include <gtest/gtest.h>

#include "playback/player.h"

namespace qc {

namespace {

TEST(PlayerTables, PeriodsOfBothStandardsAndTheVibratoQuarterSineAndWave) {
  const int32_t pal[12] = {3177, 2999, 2831, 2672, 2522, 2380, 2247, 2120, 2001, 1889, 1783, 1683};
  const int32_t ntsc[12] = {3420, 3228, 3047, 2876, 2715, 2562, 2418, 2283, 2154, 2034, 1919, 1812};
  Song song;
  Player player(song, nullptr);
  for (bool isNtsc : {false, true}) {
    SCOPED_TRACE(isNtsc ? "NTSC" : "PAL");
    song.ntsc = isNtsc;
    buildPeriodTable(player);
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(player.periodTable[n], (isNtsc ? ntsc : pal)[n - 1]) << "note " << n;
    EXPECT_EQ(player.periodTable[0], 0);
    EXPECT_EQ(player.periodTable[96], isNtsc ? 14 : 13);
    EXPECT_EQ(rowThreshold(player), isNtsc ? 34448 : 32000);
  }

  buildVibratoTable(player);
  // Phases 1, 8 and 14, depths 0..15: single-precision sine, truncated.
  const int32_t rows[3][16] = {{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2},
                               {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 14, 15, 16, 18, 19, 21},
                               {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29}};
  const int phases[3] = {1, 8, 14};
  for (int r = 0; r < 3; ++r)
    for (int depth = 0; depth < 16; ++depth)
      EXPECT_EQ(player.vibratoTable[phases[r] * 16 + depth], rows[r][depth]) << phases[r] << " " << depth;
  for (int depth = 0; depth < 16; ++depth) EXPECT_EQ(player.vibratoTable[15 * 16 + depth], rows[2][depth]);
  const auto& wave = player.vibratoWave;
  EXPECT_EQ(wave[15], 240);
  EXPECT_EQ(wave[16], 240);
  EXPECT_EQ(wave[31], 0);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(wave[32 + i], wave[i]);
}

}  // namespace

}  // namespace qc
