#include "editor/pointing.h"

#include <algorithm>
#include <cstdlib>

#include "editor/envelope_editor.h"
#include "editor/instrument_list.h"
#include "editor/instrument_selection.h"
#include "editor/key_codes.h"
#include "editor/order_list_editor.h"
#include "editor/pattern_cursor.h"
#include "song/app_state.h"

namespace qc {

namespace {

void focusOn(int panel) {
  app.editor.focus = panel;
  if (panel != kFocusInstrumentList) app.editor.naming = false;
}

// Repeats a key of an editor once per notch: the same ranges, the same rules.
template <typename Editor>
void pressPerNotch(Editor editor, int notches, int32_t back, int32_t forth) {
  for (int i = 0; i < std::abs(notches); ++i) editor(KeyEvent{notches < 0 ? back : forth, 0, 0});
}

bool instrumentChosen() {
  return app.editor.currentInstrument > 0 && app.editor.currentInstrument < kInstrumentSlots;
}

}  // namespace

void placePatternCursor(int track, int column, int row) {
  EditorState& e = app.editor;
  e.cursorChannel = std::clamp(track, 0, kChannels - 1);
  e.cursorColumn = e.cursorChannel == kPcmTrack ? 0 : std::clamp(column, 0, kCursorColumns - 1);
  e.cursorRow = std::clamp(row, 0, kRows - 1);
}

void pointPatternField(int track, int column, int row) {
  focusOn(kFocusPattern);
  placePatternCursor(track, column, row);
  app.editor.selectionAnchorSet = false;  // a new drag starts a new block, as Left Alt pressed anew does
}

void pointOrderEntry(int position) {
  if (position < 0 || position >= std::clamp(app.song.orderCount, 1, kMaxOrders)) return;
  focusOn(kFocusOrderList);
  app.editor.orderCursor = position;
}

void pointInstrument(int slot) {
  if (slot < 0 || slot >= kInstrumentSlots) return;
  if (slot != app.editor.currentInstrument) app.editor.naming = false;
  focusOn(kFocusInstrumentList);
  selectInstrument(slot);
}

void pointEnvelope(int kind, int step) {
  if (!instrumentChosen() || kind < 0 || kind >= kEnvelopeKinds) return;
  focusOn(kFocusEnvelope);
  app.editor.selectedEnvelope = kind;
  const int length = envelopeLength(app.song.envelopes[app.editor.currentInstrument][kind]);
  if (step >= 0 && step < length) app.editor.envelopeCursor[kind] = step;
}

void wheelPattern(int notches) {
  EditorState& e = app.editor;
  e.cursorRow = std::clamp(e.cursorRow + notches * std::max(e.step, 1), 0, kRows - 1);
}

void wheelOrderList(int notches) { pressPerNotch(orderListKey, notches, kKeyUp, kKeyDown); }

void wheelInstrumentList(int notches) { pressPerNotch(instrumentListKey, notches, kKeyUp, kKeyDown); }

void wheelEnvelope(int kind, int notches) {
  if (!instrumentChosen() || kind < 0 || kind >= kEnvelopeKinds) return;
  app.editor.selectedEnvelope = kind;
  pressPerNotch(envelopeEditorKey, notches, kKeyLeft, kKeyRight);
}

}  // namespace qc
