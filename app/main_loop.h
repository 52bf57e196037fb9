// The main loop: events, drawing and the adaptive frame delay.
#pragma once

#include <SDL.h>

#include "editor/key_handler.h"

namespace qc {

KeyEvent keyEventFrom(const SDL_keysym& keysym);
// Hands one SDL event on: keys to an open file dialog or else the editor,
// the mouse to its own handler, quit to the running flag, window-system
// events to the drop target.
void handleEvent(const SDL_Event& event);
// Runs until the running flag is cleared; the pass that clears it still
// draws its frame and waits once. Each pass: events, the command of a
// dialog that closed, the autosave, the frame.
void runMainLoop();

}  // namespace qc
