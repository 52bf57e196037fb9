#include "app/screenshot.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/draw_screen.h"
#include "app/start_up.h"
#include "app/surfaces.h"
#include "song/shell_services.h"

namespace qc {

namespace {

constexpr uint32_t kShotDelayMs = 1000;  // "Ready." has faded in by then
uint32_t shotTime;

}  // namespace

int runScreenshot(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: quillchanter --screenshot OUT.bmp [MODULE]\n");
    return 1;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);  // headless unless the caller asks otherwise
  SDL_Init(SDL_INIT_VIDEO);
  useSdlShellServices();
  char* startArgs[] = {argv[0], argc == 4 ? argv[3] : nullptr, nullptr};
  bool saved = false;
  if (startUp(argc == 4 ? 2 : 1, startArgs)) {
    shotTime = SDL_GetTicks() + kShotDelayMs;
    shell.ticks = [] { return shotTime; };
    drawScreen();
    saved = SDL_SaveBMP(surfaces.screen, argv[2]) == 0;
    if (!saved) std::fprintf(stderr, "quillchanter: cannot write %s\n", argv[2]);
  }
  shutDownWindow();
  SDL_Quit();
  return saved ? 0 : 1;
}

}  // namespace qc
