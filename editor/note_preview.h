// Sounding notes from held piano keys without writing them. Holding several
// keys behaves like a monophonic keyboard: releasing the most recent one
// falls back to the previous key still held.
#pragma once

#include <cstdint>

#include "editor/key_handler.h"

namespace qc {

// Sounds the note on the cursor's track; key repeats and the PCM track do nothing.
void startPreview(int32_t sym, int note);
void endPreview(int32_t sym);
// Plain piano keys sound their note in the order list, envelope editor and
// instrument list, which do not consume them.
void previewPianoKey(const KeyEvent& key);

}  // namespace qc
