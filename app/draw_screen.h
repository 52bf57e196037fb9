// The whole window, redrawn from the application state every frame.
#pragma once

namespace qc {

// Draws one frame into the screen surface. The caller holds the audio lock,
// since the audio thread moves the play position and the cursor.
void drawScreen();
// Shows the drawn frame; needs no lock.
void presentScreen();

}  // namespace qc
