// The main loop: events, drawing and the adaptive frame delay.
#pragma once

#include <SDL.h>

#include "editor/key_handler.h"

KeyEvent keyEventFrom(const SDL_keysym& keysym);
// Hands one SDL event on: keys to the editor, quit to the running flag.
void handleEvent(const SDL_Event& event);
// Runs until the running flag is cleared; the pass that clears it still
// draws its frame and waits once.
void runMainLoop();
