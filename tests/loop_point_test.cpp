#include "playback/loop_point.h"

#include "player_test_support.h"

namespace qc {

namespace {

class LoopPoint : public PlayerTest {
 protected:
  // Plays from the top until the loop point; the ticks it took, or -1.
  int ticksToLoopPoint(int limit) {
    Player silent(song, nullptr);
    startSong(silent);
    LoopPointFinder finder(0, 0);
    for (int tick = 1; tick <= limit; ++tick) {
      playerFrame(silent);
      if (finder.entered(silent.playOrder, silent.playRow) && finder.looped()) {
        position = {silent.playOrder, silent.playRow};
        return tick;
      }
    }
    return -1;
  }
  std::pair<int, int> position;
};

TEST_F(LoopPoint, OrderPassesEndWhereTheyLoop) {
  EXPECT_EQ(ticksToLoopPoint(10000), 64 * 6);  // one order played through

  // A break back within the only order: 0..48 once, then 32..48 until 32 comes again.
  put(0, 48, 0, 0, 0xD, "32");
  EXPECT_EQ(ticksToLoopPoint(10000), (49 + 17) * 6);
  EXPECT_EQ(position, std::make_pair(0, 32));

  // A jump to a later order skips the orders between.
  song.patterns[0] = Pattern{};
  song.orderCount = 3;
  song.orders = {0, 1, 1};
  put(0, 0, 0, 0, 0xB, "02");
  EXPECT_EQ(ticksToLoopPoint(10000), 6 + 64 * 6);
  EXPECT_EQ(position, std::make_pair(0, 0));

  put(0, 0, 0, 0, 0xF, "00");
  EXPECT_EQ(ticksToLoopPoint(5000), -1) << "speed 0 never gets there";
}

TEST_F(LoopPoint, NumbersEntriesAndNamesTheOneARepeatReturnsTo) {
  LoopPointFinder finder(0, 0);
  EXPECT_FALSE(finder.entered(0, 5));  // a row further on is no entry
  EXPECT_TRUE(finder.entered(1, 0));
  EXPECT_TRUE(finder.entered(0, 32));
  EXPECT_EQ(finder.entries(), 3);
  EXPECT_FALSE(finder.looped());
  EXPECT_TRUE(finder.entered(1, 0));
  EXPECT_EQ(finder.loopPoint(), 1);
}

}  // namespace

}  // namespace qc
