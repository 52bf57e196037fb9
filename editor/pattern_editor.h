// The pattern editor: note and digit entry, track edits and cursor movement
// in the pattern that the order list shows at `orderCursor`.
#pragma once

#include "editor/key_handler.h"
#include "song/song.h"

namespace qc {

// The pattern at `orders[orderCursor]`.
int shownPatternIndex();
Pattern& shownPattern();

// `cursorRow` moves on by `step`, wrapping at the pattern's end.
void advanceCursor();
// True when the key was consumed and the global map must not see it.
bool patternEditorKey(const KeyEvent& key);

}  // namespace qc
