#include "playback/loop_point.h"

namespace qc {

LoopPointFinder::LoopPointFinder(int32_t order, int32_t row) : order_(order), row_(row) { enter(order, row); }

bool LoopPointFinder::entered(int32_t order, int32_t row) {
  const bool entry = order != order_ || row < row_;
  order_ = order;
  row_ = row;
  if (entry) enter(order, row);
  return entry;
}

void LoopPointFinder::enter(int32_t order, int32_t row) {
  const auto [known, isNew] = entered_.emplace(order * 256 + row, count_);
  if (isNew)
    ++count_;
  else if (loopPoint_ == -1)
    loopPoint_ = known->second;
}

}  // namespace qc
