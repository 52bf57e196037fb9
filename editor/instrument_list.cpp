#include "editor/instrument_list.h"

#include <algorithm>
#include <string>

#include "editor/instrument_selection.h"
#include "editor/key_codes.h"
#include "editor/note_preview.h"
#include "editor/undo_history.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kInstrumentPage = 4;
constexpr int kTabSpaces = 4;
constexpr int kLastInstrument = kInstrumentSlots - 1;

bool chooseKey(int32_t sym) {
  EditorState& e = app.editor;
  const int slot = e.currentInstrument;
  switch (sym) {
    case kKeyUp: selectInstrument(std::max(slot - 1, 0)); return true;
    case kKeyDown: selectInstrument(std::min(slot + 1, kLastInstrument)); return true;
    case kKeyPageUp: selectInstrument(std::max(slot - kInstrumentPage, 0)); return true;
    case kKeyPageDown: selectInstrument(std::min(slot + kInstrumentPage, kLastInstrument)); return true;
    case kKeyHome: selectInstrument(0); return true;
    case kKeyEnd: selectInstrument(kLastInstrument); return true;
    case kKeyReturn: e.naming = true; return true;
    default: return false;
  }
}

std::string& currentName() {
  recordInstrumentChange(app.editor.currentInstrument);
  return app.song.instrumentNames[app.editor.currentInstrument];
}

bool fits(const std::string& name) { return int(name.size()) < kMaxNameLength; }

void insertAtCursor(char ch) {
  std::string& name = currentName();
  name.insert(name.begin() + app.editor.nameCursor, ch);
  ++app.editor.nameCursor;
}

bool nameKey(const KeyEvent& key) {
  EditorState& e = app.editor;
  const std::string& name = app.song.instrumentNames[e.currentInstrument];
  const int length = int(name.size());
  e.nameCursor = std::clamp(e.nameCursor, 0, length);
  if (key.unicode != 0 && key.unicode < 128) {
    const char ch = char(key.unicode & 0x7F);
    if (ch >= 0x20 && ch <= 0x7E && fits(name)) {
      if (e.currentInstrument != 0) insertAtCursor(ch);
      return true;
    }
  }
  switch (key.sym) {
    case kKeyLeft: e.nameCursor = std::max(e.nameCursor - 1, 0); return true;
    case kKeyRight: e.nameCursor = std::min(e.nameCursor + 1, length); return true;
    case kKeyHome: e.nameCursor = 0; return true;
    case kKeyEnd: e.nameCursor = length; return true;
    case kKeyBackspace:
      if (e.nameCursor > 0 && e.currentInstrument >= 1) {
        --e.nameCursor;
        currentName().erase(e.nameCursor, 1);
      }
      return true;
    case kKeyDelete:
      if (e.nameCursor < length) currentName().erase(e.nameCursor, 1);
      return true;
    case kKeyTab:
      for (int i = 0; i < kTabSpaces && fits(app.song.instrumentNames[e.currentInstrument]); ++i)
        insertAtCursor(' ');
      return true;
    case kKeyReturn: e.naming = false; return true;
    default: return false;
  }
}

}  // namespace

bool instrumentListKey(const KeyEvent& key) {
  app.editor.currentInstrument = std::clamp(app.editor.currentInstrument, 0, kLastInstrument);
  if (app.editor.naming) return nameKey(key);
  previewPianoKey(key);
  return chooseKey(key.sym);
}

}  // namespace qc
