// The envelope editor (focus 2): values, loop point and length of the
// selected envelope of `currentInstrument`.
#pragma once

#include "editor/key_handler.h"

namespace qc {

// True when the key was consumed, also when it changed nothing.
bool envelopeEditorKey(const KeyEvent& key);

}  // namespace qc
