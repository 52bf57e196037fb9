// Where a song loops. Playback enters an order position at the start, and
// again after every tick that moves it to another order or back to an
// earlier row; each entry begins an order pass. The first entry at an
// (order, row) entered before is the loop point: the song repeats from the
// pass that first entered there.
#pragma once

#include <cstdint>
#include <map>

namespace qc {

class LoopPointFinder {
 public:
  // The start: entry 0.
  LoopPointFinder(int32_t order, int32_t row);
  // Call after every tick (more often does no harm) with the play position;
  // true when the tick entered an order position.
  bool entered(int32_t order, int32_t row);
  // Once an entry repeats an earlier one: the number of that earlier entry.
  // -1 while every entry has been new.
  int loopPoint() const { return loopPoint_; }
  bool looped() const { return loopPoint_ != -1; }

 private:
  std::map<int32_t, int> entered_;  // order * 256 + row -> entry number
  int32_t order_;
  int32_t row_;
  int count_ = 0;
  int loopPoint_ = -1;
  void enter(int32_t order, int32_t row);
};

}  // namespace qc
