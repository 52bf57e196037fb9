#include "app/video_start.h"

#include <SDL.h>

#include <cstdlib>

namespace qc {

namespace {

constexpr uint32_t kDisplayWaitMs = 5000;
constexpr uint32_t kDisplayRetryMs = 50;

}  // namespace

void preferX11Video() {
  if (std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "x11", 0);
}

// When SDL_Init fails to reach the display, SDL_SetVideoMode starts video
// itself, and that late start turns Unicode and key repeat off again and has
// no window to keep a caption set before it. So nothing is set on the window
// until video is up.
bool startVideo() {
  const uint32_t start = SDL_GetTicks();
  while (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) {
    if (SDL_GetTicks() - start >= kDisplayWaitMs) return false;
    SDL_Delay(kDisplayRetryMs);
  }
  return true;
}

}  // namespace qc
