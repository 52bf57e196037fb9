#include "editor/pattern_editor.h"

#include <algorithm>

#include "editor/block_operations.h"
#include "editor/channel_mask.h"
#include "editor/key_codes.h"
#include "editor/key_maps.h"
#include "editor/live_player.h"
#include "editor/note_preview.h"
#include "editor/pattern_cursor.h"
#include "editor/undo_history.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kLastRow = kRows - 1;

Cell& cursorCell() {
  const EditorState& e = app.editor;
  return shownPattern().cells[e.cursorChannel][e.cursorRow];
}

void recordShownPattern() { recordPatternChange(shownPatternIndex()); }

void enterNote(int32_t sym, int offset) {
  EditorState& e = app.editor;
  const int note = pianoNote(offset);
  if (!e.editMode) {
    startPreview(sym, note);
    return;
  }
  recordShownPattern();
  Cell& cell = cursorCell();
  cell.note = uint8_t(note);
  if (e.currentInstrument != 0) cell.setInstrument(e.currentInstrument);
  const int channel = e.cursorChannel;
  advanceCursor();
  Cell sounded;
  sounded.note = uint8_t(note);
  sounded.setInstrument(e.currentInstrument % kInstrumentSlots);
  previewNote(channel, sounded);
}

void enterDigit(int digit) {
  const EditorState& e = app.editor;
  Cell& cell = cursorCell();
  if (e.cursorColumn == 1 && cell.note == kNoteOff) return;
  recordShownPattern();
  switch (e.cursorColumn) {
    case 1: cell.setInstrument(digit); break;
    case 2: cell.setEffect(digit); break;
    case 3: cell.param = uint8_t((cell.param & 0xF0) | digit); break;  // first digit: low nibble
    default: cell.param = uint8_t((cell.param & 0x0F) | (digit << 4)); break;
  }
  advanceCursor();
}

// Stage 1: what a plain key writes into the cell under the cursor.
void entryKey(const KeyEvent& key) {
  const EditorState& e = app.editor;
  if (e.cursorColumn == 0) {
    const std::optional<int> offset = pianoKeyOffset(key.sym);
    if (e.cursorChannel == kPcmTrack) {
      if (!offset || !e.editMode) return;
      recordShownPattern();
      cursorCell().note = uint8_t(e.currentSample);
      advanceCursor();
      return;
    }
    if ((key.sym == kKeyReturn || key.sym == kKeyBackslash) && e.editMode) {
      recordShownPattern();
      cursorCell().note = kNoteOff;
      cursorCell().setInstrument(0);
      advanceCursor();
    } else if (offset) {
      enterNote(key.sym, *offset);
    }
    return;
  }
  const std::optional<int> digit = hexKeyValue(key.sym);
  if (digit && e.editMode) enterDigit(*digit);
}

void deleteRowUp() {
  EditorState& e = app.editor;
  if (!e.editMode || e.cursorRow == 0) return;
  recordShownPattern();
  Cell* track = shownPattern().cells[e.cursorChannel];
  std::copy(track + e.cursorRow, track + kRows, track + e.cursorRow - 1);
  track[kLastRow] = Cell{};
  --e.cursorRow;
}

void insertRow() {
  const EditorState& e = app.editor;
  if (!e.editMode) return;
  recordShownPattern();
  Cell* track = shownPattern().cells[e.cursorChannel];
  std::copy_backward(track + e.cursorRow, track + kLastRow, track + kRows);
  track[e.cursorRow] = Cell{};
}

void clearNote() {
  if (!app.editor.editMode) return;
  recordShownPattern();
  cursorCell().note = 0;
  cursorCell().setInstrument(0);
  advanceCursor();
}

// Stage 2 keys that the global map does not see.
bool consumedCommand(const KeyEvent& key) {
  EditorState& e = app.editor;
  const bool lAlt = hasLAlt(key.mod);
  switch (key.sym) {
    case kKeyBackspace: deleteRowUp(); return true;
    case kKeyInsert: insertRow(); return true;
    case kKeyDelete: clearNote(); return true;
    case kKeyTab:
      if (!hasShift(key.mod)) {
        e.cursorChannel = (e.cursorChannel + 1) % kChannels;
      } else if (e.cursorColumn == 0) {
        e.cursorChannel = (e.cursorChannel + kChannels - 1) % kChannels;
      }
      e.cursorColumn = 0;
      return true;
    case kKeyUp:
    case kKeyDown:
      if (hasLShift(key.mod)) {
        transposeBlock(key.sym == kKeyUp ? 1 : -1);
      } else {
        moveRowMarking(key.sym == kKeyUp ? -1 : 1, key.mod);
      }
      return true;
    case kKeyRight: lAlt ? extendSelectionRight() : moveCursorRight(); return true;
    case kKeyLeft: lAlt ? extendSelectionLeft() : moveCursorLeft(); return true;
    case kKeyHome: if (!lAlt) e.cursorRow = 0; return true;
    case kKeyEnd: if (!lAlt) e.cursorRow = kLastRow; return true;
    case kKeyPageUp: if (!lAlt) e.cursorRow = std::max(e.cursorRow - 16, 0); return true;
    case kKeyPageDown: if (!lAlt) e.cursorRow = std::min(e.cursorRow + 16, kLastRow); return true;
    default: return false;
  }
}

// Stage 2 keys that go on to the global map as well.
void passedOnCommand(const KeyEvent& key) {
  EditorState& e = app.editor;
  const bool lCtrl = hasLCtrl(key.mod);
  if (key.sym == kKeyLCtrl) e.repeatAnchorSet = false;
  if (key.sym == kKeyLAlt) e.selectionAnchorSet = false;
  if (!lCtrl) return;
  switch (key.sym) {
    case 'c': copyBlock(); break;
    case 'x': cutBlock(); break;
    case 'd': clearBlock(); break;
    case 'v': hasLShift(key.mod) ? mixPasteBlock() : pasteBlock(); break;
    case 'm': toggleMute(e.cursorChannel); break;
    case 's': soloTrack(e.cursorChannel); break;
    default: break;
  }
}

}  // namespace

int shownPatternIndex() {
  const int position = std::clamp(app.editor.orderCursor, 0, kMaxOrders - 1);
  return std::clamp(app.song.orders[position], 0, kPatterns - 1);
}

Pattern& shownPattern() { return app.song.patterns[shownPatternIndex()]; }

void advanceCursor() { app.editor.cursorRow = (app.editor.cursorRow + app.editor.step) % kRows; }

bool patternEditorKey(const KeyEvent& key) {
  if (isPlain(key.mod)) entryKey(key);
  if (consumedCommand(key)) return true;
  passedOnCommand(key);
  return false;
}

}  // namespace qc
