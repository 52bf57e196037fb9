// The editor operations the mouse reaches. Each does what a key does, and
// takes positions from outside clamped into the ranges the keys keep.
#pragma once

namespace qc {

// Pattern editor focus (as F1) and the cursor on the field; the next
// selection run starts there.
void pointPatternField(int track, int column, int row);
void placePatternCursor(int track, int column, int row);
// Order list focus (as F3) and the cursor on an existing position.
void pointOrderEntry(int position);
// Instrument list focus (as F2) with the slot chosen; naming stops on another slot.
void pointInstrument(int slot);
// Envelope editor focus (as F4) on the kind, and its cursor on the step if
// the envelope has it (-1: the kind alone); nothing while no instrument is chosen.
void pointEnvelope(int kind, int step);

// The wheel: notches are negative away from the user (up).
// The pattern cursor moves by the edit step (a row when it is 0), not wrapping.
void wheelPattern(int notches);
// As Up and Down in the order list and the instrument list, Left and Right in an envelope.
void wheelOrderList(int notches);
void wheelInstrumentList(int notches);
void wheelEnvelope(int kind, int notches);

}  // namespace qc
