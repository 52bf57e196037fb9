#include "cli/loop_point.h"

#include "player_test_support.h"

namespace {

using LoopPoint = PlayerTest;

// Runs in export mode until the loop point; returns the ticks it took.
int ticksToLoopPoint(int limit) {
  resetPlayer();
  app.player.sequencerRunning = true;
  app.player.exportMode = true;
  LoopPointFinder finder(0, 0);
  for (int tick = 1; tick <= limit; ++tick) {
    playerFrame();
    if (finder.reached(app.player.playOrder, app.player.playRow)) return tick;
  }
  return -1;
}

TEST_F(LoopPoint, OneOrderPlayedThroughLoopsAfterItsLastRow) {
  EXPECT_EQ(ticksToLoopPoint(10000), 64 * 6);
}

TEST_F(LoopPoint, BreakBackWithinTheOnlyOrderLoopsAtTheBreakTarget) {
  put(0, 48, 0, 0, 0xD, "32");
  // 0..48 once, then 32..48 again until 32 is entered a second time.
  EXPECT_EQ(ticksToLoopPoint(10000), (49 + 17) * 6);
  EXPECT_EQ(app.player.playRow, 32);
}

TEST_F(LoopPoint, JumpToALaterOrderSkipsTheOrdersBetween) {
  app.song.orderCount = 3;
  app.song.orders = {0, 1, 1};
  put(0, 0, 0, 0, 0xB, "02");
  // Order 0 row 0, order 2, then order 0 again.
  EXPECT_EQ(ticksToLoopPoint(10000), 6 + 64 * 6);
  EXPECT_EQ(app.player.playOrder, 0);
}

TEST_F(LoopPoint, SpeedZeroNeverReachesIt) {
  put(0, 0, 0, 0, 0xF, "00");
  EXPECT_EQ(ticksToLoopPoint(5000), -1);
}

}  // namespace
