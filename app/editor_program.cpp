#include "app/editor_program.h"

#include <SDL.h>

#include "app/audio_device.h"
#include "app/main_loop.h"
#include "app/start_up.h"
#include "editor/live_player.h"

int runEditor(int argc, char** argv) {
  SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
  useSdlShellServices();
  if (!startUp(argc, argv)) {
    SDL_Quit();
    return 1;
  }
  initLivePlayback();
  openAudio();
  runMainLoop();
  SDL_CloseAudio();
  shutDownWindow();
  SDL_Quit();
  return 0;
}
