#include "editor/note_preview.h"

#include <algorithm>

#include "editor/key_codes.h"
#include "editor/key_maps.h"
#include "editor/live_player.h"
#include "song/app_state.h"

namespace qc {

namespace {

bool* keyDownFlag(int32_t sym) {
  auto& flags = app.preview.pianoKeyDown;
  return (sym >= 0 && sym < int32_t(flags.size())) ? &flags[sym] : nullptr;
}

void sound(int note) {
  if (app.editor.cursorChannel == kPcmTrack) return;
  Cell cell;
  cell.note = uint8_t(note);
  cell.setInstrument(app.editor.currentInstrument % kInstrumentSlots);
  previewNote(app.editor.cursorChannel, cell);
}

}  // namespace

void startPreview(int32_t sym, int note) {
  if (app.editor.cursorChannel == kPcmTrack) return;
  bool* down = keyDownFlag(sym);
  if (!down || *down) return;
  *down = true;
  sound(note);
  auto& held = app.preview.heldPianoKeys;
  std::erase(held, sym);
  held.push_back(sym);
}

void endPreview(int32_t sym) {
  const std::optional<int> offset = pianoKeyOffset(sym);
  if (!offset) return;
  if (bool* down = keyDownFlag(sym)) *down = false;
  auto& held = app.preview.heldPianoKeys;
  if (held.empty()) {
    silenceCursorChannel();
    return;
  }
  const auto found = std::find(held.begin(), held.end(), sym);
  if (found == held.end()) return;
  const bool wasMostRecent = found == held.end() - 1;
  held.erase(found);
  if (!wasMostRecent) return;
  if (held.empty()) {
    silenceCursorChannel();
    return;
  }
  // The held key sounds as it did when pressed: limited to the enterable notes.
  sound(pianoNote(*pianoKeyOffset(held.back())));
}

void previewPianoKey(const KeyEvent& key) {
  if (!isPlain(key.mod)) return;
  if (const std::optional<int> offset = pianoKeyOffset(key.sym)) startPreview(key.sym, pianoNote(*offset));
}

}  // namespace qc
