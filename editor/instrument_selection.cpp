#include "editor/instrument_selection.h"

#include <algorithm>

#include "song/app_state.h"

namespace qc {

void selectInstrument(int slot) {
  EditorState& e = app.editor;
  e.currentInstrument = std::clamp(slot, 0, kInstrumentSlots - 1);
  e.nameCursor = int(app.song.instrumentNames[e.currentInstrument].size());
  if (e.currentInstrument == 0) return;
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    const int length = envelopeLength(app.song.envelopes[e.currentInstrument][k]);
    if (e.envelopeCursor[k] >= length) e.envelopeCursor[k] = std::max(length - 1, 0);
  }
}

void previousInstrument() {
  int slot = std::max(app.editor.currentInstrument - 1, 0);
  if (slot == 0 && app.editor.focus == kFocusEnvelope) slot = 1;
  selectInstrument(slot);
}

void nextInstrument() { selectInstrument(app.editor.currentInstrument + 1); }

}  // namespace qc
