#include "editor/pattern_cursor.h"

#include <algorithm>

#include "editor/key_codes.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kLastColumn = kCursorColumns - 1;

void takeRepeatAnchor() {
  EditorState& e = app.editor;
  if (e.repeatAnchorSet) return;
  e.repeatStartRow = e.repeatEndRow = e.cursorRow;
  e.repeatAnchorSet = true;
}

}  // namespace

// The first arrow of a run pins the mark's other end at the cursor.
void takeSelectionAnchor() {
  EditorState& e = app.editor;
  if (e.selectionAnchorSet) return;
  e.selectionStartChannel = e.selectionEndChannel = e.cursorChannel;
  e.selectionStartRow = e.selectionEndRow = e.cursorRow;
  e.selectionAnchorSet = true;
}

void extendSelectionTo(int track, int row) {
  takeSelectionAnchor();
  app.editor.selectionEndChannel = std::clamp(track, 0, kChannels - 1);
  app.editor.selectionEndRow = std::clamp(row, 0, kRows - 1);
}

void moveRowMarking(int delta, int32_t mod) {
  EditorState& e = app.editor;
  const bool lAlt = hasLAlt(mod);
  const bool lCtrl = !lAlt && hasLCtrl(mod);
  if (lAlt) takeSelectionAnchor();
  if (lCtrl) takeRepeatAnchor();
  e.cursorRow = (e.cursorRow + delta + kRows) % kRows;
  if (lAlt) e.selectionEndRow = e.cursorRow;
  if (lCtrl) e.repeatEndRow = e.cursorRow;
}

void moveCursorRight() {
  EditorState& e = app.editor;
  if (++e.cursorColumn > kLastColumn || e.cursorChannel == kPcmTrack) {
    e.cursorChannel = (e.cursorChannel + 1) % kChannels;
    e.cursorColumn = 0;
  }
}

void moveCursorLeft() {
  EditorState& e = app.editor;
  if (--e.cursorColumn >= 0) return;
  if (e.cursorChannel == 0) {
    e.cursorChannel = kPcmTrack;  // the PCM track has only the note column
    e.cursorColumn = 0;
  } else {
    --e.cursorChannel;
    e.cursorColumn = kLastColumn;
  }
}

void extendSelectionRight() {
  EditorState& e = app.editor;
  takeSelectionAnchor();
  e.cursorChannel = (e.cursorChannel + 1) % kChannels;
  e.cursorColumn = 0;
  e.selectionEndChannel = e.cursorChannel;
}

void extendSelectionLeft() {
  EditorState& e = app.editor;
  takeSelectionAnchor();
  if (e.cursorColumn != 0) {
    e.cursorColumn = 0;
  } else {
    e.cursorChannel = (e.cursorChannel + kChannels - 1) % kChannels;
  }
  e.selectionEndChannel = e.cursorChannel;
}

}  // namespace qc
