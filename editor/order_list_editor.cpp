#include "editor/order_list_editor.h"

#include <algorithm>

#include "editor/key_codes.h"
#include "editor/note_preview.h"
#include "editor/undo_history.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kOrderPage = 4;

void changeEntry(int delta) {
  recordOrderListChange();
  int32_t& entry = app.song.orders[app.editor.orderCursor];
  entry = std::clamp(entry + delta, 0, kPatterns - 1);
}

// The entry under the cursor is duplicated; the cursor stays on the first copy.
void insertEntry() {
  Song& song = app.song;
  if (song.orderCount >= kMaxOrders) return;
  recordOrderListChange();
  const auto at = song.orders.begin() + app.editor.orderCursor;
  std::copy_backward(at, song.orders.begin() + song.orderCount, song.orders.begin() + song.orderCount + 1);
  ++song.orderCount;
}

void removeEntry(int position) {
  Song& song = app.song;
  recordOrderListChange();
  std::copy(song.orders.begin() + position + 1, song.orders.begin() + song.orderCount,
            song.orders.begin() + position);
  --song.orderCount;
}

}  // namespace

bool orderListKey(const KeyEvent& key) {
  previewPianoKey(key);
  const int last = std::clamp(app.song.orderCount, 1, kMaxOrders) - 1;
  int& c = app.editor.orderCursor;
  c = std::clamp(c, 0, last);
  switch (key.sym) {
    case kKeyUp: c = std::max(c - 1, 0); return true;
    case kKeyDown: c = std::min(c + 1, last); return true;
    case kKeyPageUp: c = std::max(c - kOrderPage, 0); return true;
    case kKeyPageDown: c = std::min(c + kOrderPage, last); return true;
    case kKeyHome: c = 0; return true;
    case kKeyEnd: c = last; return true;
    case kKeyRight: changeEntry(1); return true;
    case kKeyLeft: changeEntry(-1); return true;
    case kKeyInsert: insertEntry(); return true;
    case kKeyDelete:
      if (last >= 1) {
        removeEntry(c);
        c = std::min(c, last - 1);
      }
      return true;
    case kKeyBackspace:
      if (c > 0) {
        removeEntry(c - 1);
        --c;
      }
      return true;
    default: return false;
  }
}

}  // namespace qc
