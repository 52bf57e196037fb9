#include "app/editor_program.h"

#include <SDL.h>

#include "song/app_state.h"

int runEditor(int, char**) {
  SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
  resetToProgramStart();
  SDL_WM_SetCaption("Quillchanter", nullptr);
  SDL_SetVideoMode(736, 592, 32, 0);
  SDL_Event event;
  while (app.running) {
    while (SDL_PollEvent(&event))
      if (event.type == SDL_QUIT) app.running = false;
    SDL_Delay(25);
  }
  SDL_Quit();
  return 0;
}
