#include "app/editor_program.h"

#include <SDL.h>

#include "app/audio_device.h"
#include "app/autosave.h"
#include "app/main_loop.h"
#include "app/start_up.h"
#include "app/video_start.h"
#include "editor/live_player.h"

namespace qc {

int runEditor(int argc, char** argv) {
  preferX11Video();
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
  backupUnsavedSong();
  shutDownWindow();
  SDL_Quit();
  return 0;
}

}  // namespace qc
