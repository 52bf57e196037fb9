#include "cli/loop_point.h"

LoopPointFinder::LoopPointFinder(int32_t order, int32_t row) : order_(order), row_(row) {
  entered_.insert(order * 256 + row);
}

bool LoopPointFinder::reached(int32_t order, int32_t row) {
  const bool entry = order != order_ || row < row_;
  order_ = order;
  row_ = row;
  return entry && !entered_.insert(order * 256 + row).second;
}
