#include "app/main_loop.h"

#include "app/draw_screen.h"
#include "app/frame_pacing.h"
#include "song/app_state.h"
#include "song/shell_services.h"

KeyEvent keyEventFrom(const SDL_keysym& keysym) {
  return KeyEvent{int32_t(keysym.sym), int32_t(keysym.mod), keysym.unicode};
}

void handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (event.key.state == SDL_PRESSED) {
        handleKeyDown(keyEventFrom(event.key.keysym));
      } else {
        handleKeyUp(keyEventFrom(event.key.keysym));
      }
      break;
    case SDL_QUIT:
      app.running = false;
      break;
    default:
      break;
  }
}

void runMainLoop() {
  FramePacing pacing;
  while (app.running) {
    {
      // The audio thread reads the song and moves the play position: every
      // change and the drawing of the frame happen while it waits.
      AudioLock lock;
      SDL_Event event;
      while (SDL_PollEvent(&event)) handleEvent(event);
      drawScreen();
    }
    presentScreen();
    SDL_Delay(uint32_t(paceFrame(pacing, SDL_GetTicks())));
  }
}
