#include "playback/loop_point.h"

#include "player_test_support.h"

namespace qc {

namespace {

class LoopPoint : public PlayerTest {
 protected:
  // Plays from the top until the loop point; the ticks it took.
  int ticksToLoopPoint() {
    Player silent(song, nullptr);
    startSong(silent);
    LoopPointFinder finder(0, 0);
    for (int tick = 1; tick <= 10000; ++tick) {
      playerFrame(silent);
      if (finder.entered(silent.playOrder, silent.playRow) && finder.looped()) {
        position = {silent.playOrder, silent.playRow};
        loopEntry = finder.loopPoint();
        return tick;
      }
    }
    return -1;
  }
  std::pair<int, int> position;
  int loopEntry = -1;
};

// Entries are the start and every move to another order or an earlier row;
// the loop point is the number of the entry a repeat returns to.
TEST_F(LoopPoint, OrderPassesEndWhereTheyLoop) {
  LoopPointFinder finder(0, 0);
  EXPECT_FALSE(finder.entered(0, 5));
  EXPECT_TRUE(finder.entered(1, 5)) << "another order is an entry, even at a later row";

  EXPECT_EQ(ticksToLoopPoint(), 64 * 6);  // one order played through
  EXPECT_EQ(loopEntry, 0);

  // A break back within the only order: 0..48 once, then 32..48 until 32 comes again.
  put(0, 48, 0, 0, 0xD, "32");
  EXPECT_EQ(ticksToLoopPoint(), (49 + 17) * 6);
  EXPECT_EQ(position, std::make_pair(0, 32));
  EXPECT_EQ(loopEntry, 1);

  // A jump to a later order skips the orders between.
  song.patterns[0] = Pattern{};
  song.orderCount = 3;
  song.orders = {0, 1, 1};
  put(0, 0, 0, 0, 0xB, "02");
  EXPECT_EQ(ticksToLoopPoint(), 6 + 64 * 6);
  EXPECT_EQ(position, std::make_pair(0, 0));
}

}  // namespace

}  // namespace qc
