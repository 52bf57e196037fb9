// Changing `currentInstrument` from the keyboard, with the fix-ups that keep
// the name and envelope cursors inside the newly chosen instrument.
#pragma once

namespace qc {

void selectInstrument(int slot);
// The envelope editor never shows slot 0, so Previous stops at 1 there.
void previousInstrument();
void nextInstrument();

}  // namespace qc
