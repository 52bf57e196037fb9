#include "app/mouse.h"

#include <algorithm>

#include "app/file_chooser_view.h"
#include "app/file_dialog.h"
#include "app/screen_hit.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "editor/channel_mask.h"
#include "editor/pattern_cursor.h"
#include "editor/pointing.h"
#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

namespace {

constexpr int kBelowPatternView = (kVisibleRows + 1) * kGlyphHeight;

struct Mouse {
  int held = 0;           // the button followed until it is released
  bool dragging = false;  // the left button went down on a pattern field
  int x = 0;              // the pointer during a drag
  int y = 0;
  int lastClickEntry = -1;  // chooser entry of the last click, to pair a double click
  uint32_t lastClickTicks = 0;
};

Mouse mouse;

void chooserPress(int x, int y, uint32_t ticks) {
  const FileChooser* chooser = activeFileChooser();
  const std::optional<int> row = chooserRowAt(x, y);
  if (!chooser || !row) return;
  const int entry = chooser->top + *row;
  const bool twice = entry == mouse.lastClickEntry && ticks - mouse.lastClickTicks <= kDoubleClickMs;
  mouse.lastClickEntry = twice ? -1 : entry;
  mouse.lastClickTicks = ticks;
  fileDialogClick(entry, twice);
}

void editorPress(int button, int x, int y) {
  const EditorState& e = app.editor;
  if (const std::optional<int> track = headingAt(x, y)) {
    if (button == kMouseLeft) toggleMute(*track);
    if (button == kMouseRight) soloTrack(*track);
    return;
  }
  if (button != kMouseLeft) return;
  if (const std::optional<PatternPoint> field = patternFieldAt(x, y)) {
    pointPatternField(field->track, field->column, firstVisibleRow(e.cursorRow) + field->line);
    mouse.dragging = true;
    mouse.x = x;
    mouse.y = y;
  } else if (const std::optional<int> shown = orderEntryAt(x, y)) {
    pointOrderEntry(firstVisibleOrder(app.song.orderCount, e.orderCursor) + *shown);
  } else if (const std::optional<int> slot = instrumentEntryAt(x, y)) {
    pointInstrument(*slot);
  } else if (const std::optional<EnvelopePoint> point = envelopeAt(x, y)) {
    if (e.currentInstrument <= 0 || e.currentInstrument >= kInstrumentSlots) return;
    const int k = point->kind;
    const int first = firstVisibleStep(envelopeLength(app.song.envelopes[e.currentInstrument][k]), e.envelopeCursor[k]);
    pointEnvelope(k, point->shown ? first + *point->shown : -1);
  }
}

void wheel(int notches, int x, int y) {
  if (fileDialogOpen()) {
    fileDialogScroll(notches * kChooserWheelEntries);
    return;
  }
  switch (panelAt(x, y)) {
    case Panel::Pattern: wheelPattern(notches); break;
    case Panel::OrderList: wheelOrderList(notches); break;
    case Panel::InstrumentList: wheelInstrumentList(notches); break;
    case Panel::InstrumentEditor:
      if (const std::optional<EnvelopePoint> point = envelopeAt(x, y)) wheelEnvelope(point->kind, notches);
      break;
    case Panel::None: break;
  }
}

// The selection's end follows the pointer once it leaves the pressed cell.
void dragWithin() {
  const EditorState& e = app.editor;
  if (mouse.y < kGlyphHeight || mouse.y >= kBelowPatternView) return;  // continueDrag scrolls
  const int track = trackAtX(mouse.x);
  const int row = firstVisibleRow(e.cursorRow) + mouse.y / kGlyphHeight - 1;
  if (e.selectionAnchorSet || track != e.cursorChannel || row != e.cursorRow) extendSelectionTo(track, row);
}

bool dragStillOn() {
  if (mouse.dragging && fileDialogOpen()) mouse.dragging = false;
  return mouse.dragging;
}

}  // namespace

void mousePress(int button, int x, int y, uint32_t ticks) {
  AudioLock lock;
  if (button == kWheelUp || button == kWheelDown) {
    beginUndoStep();
    if (mouse.held == 0) wheel(button == kWheelUp ? -1 : 1, x, y);
    endUndoStep();
    return;
  }
  if (mouse.held != 0) return;
  mouse.held = button;
  if (fileDialogOpen()) {
    if (button == kMouseLeft) chooserPress(x, y, ticks);
    return;
  }
  beginUndoStep();
  editorPress(button, x, y);
  endUndoStep();
}

void mouseRelease(int button) {
  if (button != mouse.held) return;
  mouse.held = 0;
  mouse.dragging = false;
}

void mouseMotion(int x, int y, bool leftHeld) {
  if (!leftHeld && mouse.held == kMouseLeft) mouseRelease(kMouseLeft);
  AudioLock lock;
  if (!dragStillOn()) return;
  mouse.x = x;
  mouse.y = y;
  dragWithin();
}

void continueDrag() {
  AudioLock lock;
  if (!dragStillOn()) return;
  const int delta = mouse.y < kGlyphHeight ? -1 : mouse.y >= kBelowPatternView ? 1 : 0;
  if (delta == 0) return;
  const EditorState& e = app.editor;
  const int first = firstVisibleRow(e.cursorRow);
  const int scrolled = std::clamp(first + delta, 0, kRows - kVisibleRows);
  takeSelectionAnchor();
  // The cursor moves only as far as the view must, to the line it keeps away from the ends.
  if (scrolled != first) placePatternCursor(e.cursorChannel, e.cursorColumn, scrolled + kCursorLine - 1);
  extendSelectionTo(trackAtX(mouse.x), delta < 0 ? scrolled : scrolled + kVisibleRows - 1);
}

void resetMouse() { mouse = Mouse{}; }

void handleMouseEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
      mousePress(event.button.button, event.button.x, event.button.y, SDL_GetTicks());
      break;
    case SDL_MOUSEBUTTONUP:
      mouseRelease(event.button.button);
      break;
    case SDL_MOUSEMOTION:
      mouseMotion(event.motion.x, event.motion.y, (event.motion.state & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0);
      break;
    default:
      break;
  }
}

}  // namespace qc
