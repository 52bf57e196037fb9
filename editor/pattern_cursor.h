// Cursor movement in the pattern editor, with the selection and repeat
// marks that Left Alt and Left Ctrl runs drag along.
#pragma once

#include <cstdint>

namespace qc {

// Note, instrument, effect and the two parameter digits of a tone track.
inline constexpr int kCursorColumns = 5;

// Up (-1) or Down (+1), wrapping; LAlt extends the selection, LCtrl the repeat block.
void moveRowMarking(int delta, int32_t mod);
void moveCursorRight();
void moveCursorLeft();
// Pins the selection's fixed end at the cursor, unless this run already has.
void takeSelectionAnchor();
// The selection's moving end to a cell, as a run of Left Alt+arrows leaves it.
void extendSelectionTo(int track, int row);
// Whole tracks at a time, extending the selection.
void extendSelectionRight();
void extendSelectionLeft();

}  // namespace qc
