#include "app/order_list_view.h"

#include <algorithm>
#include <cstdio>

#include "app/palette.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "song/app_state.h"

namespace qc {

void drawOrderList() {
  const Song& song = app.song;
  const int count = std::clamp(song.orderCount, 0, kMaxOrders);
  const int first = firstVisibleOrder(count, app.editor.orderCursor);
  drawText("Order", kOrderListX, (kOrderFirstLine - 2) * kGlyphHeight, kGreen);
  if (first > 0) drawText("   ...", kOrderListX, (kOrderFirstLine - 1) * kGlyphHeight, kLightBlue);
  const int end = std::min(count, first + kVisibleOrders);
  for (int p = first; p < end; ++p) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d: %02d", p + 1, song.orders[p]);
    const ScreenRect entry = orderEntryRect(p - first);
    drawText(text, entry.x, entry.y, kWhite);
  }
  if (end < count)
    drawText("   ...", kOrderListX, (kOrderFirstLine + kVisibleOrders) * kGlyphHeight, kLightBlue);
}

}  // namespace qc
