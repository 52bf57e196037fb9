#include "app/screen_layout.h"

#include <cmath>

#include "song/song.h"

int firstVisibleRow(int cursorRow) {
  constexpr int kLastFirst = kRows - kVisibleRows;  // 29
  if (cursorRow < kCursorLine) return 0;
  if (cursorRow - (kCursorLine - 1) > kLastFirst) return kLastFirst;
  return cursorRow - (kCursorLine - 1);
}

int firstVisibleOrder(int orderCount, int orderCursor) {
  constexpr int kHalf = kVisibleOrders / 2;  // 7
  if (orderCount <= kVisibleOrders || orderCursor <= kHalf) return 0;
  if (orderCursor < orderCount - kHalf) return orderCursor - kHalf;
  return orderCount - kVisibleOrders;
}

int firstVisibleStep(int length, int cursor) {
  constexpr int kHalf = kVisibleSteps / 2;  // 3
  if (length <= kVisibleSteps || cursor <= kHalf) return 0;
  if (cursor < length - kHalf) return cursor - kHalf;
  return length - kVisibleSteps;
}

int blinkLevel(uint32_t ticks) {
  // 3.1415f rather than pi, so the level at every tick is the established one.
  const float phase = 2 * 3.1415f * float(ticks % 500) / 500;
  return int((std::sin(double(phase)) + 1) * 64 + 127);
}
