// Finds the song's loop point while it plays: playback enters an order
// position at the start, and again after every tick that moves it to another
// order or back to an earlier row. The first entry at an (order, row) entered
// before is the loop point (the NSF compiler's rule).
#pragma once

#include <cstdint>
#include <set>

class LoopPointFinder {
 public:
  LoopPointFinder(int32_t order, int32_t row);
  // Call at least once per tick with the play position; true once playback
  // has entered a place it entered before.
  bool reached(int32_t order, int32_t row);

 private:
  std::set<int32_t> entered_;  // order * 256 + row
  int32_t order_;
  int32_t row_;
};

// 20 minutes: a song that never loops (speed 0) ends here.
inline constexpr int kRenderCapSeconds = 20 * 60;
