#include "app/start_up.h"

#include <SDL.h>

#include <cstdio>
#include <system_error>

#include "app/module_loading.h"
#include "app/skin.h"
#include "app/surfaces.h"
#include "app/window_icon.h"
#include "editor/status_line.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace {

constexpr int kKeyRepeatDelayMs = 500;
constexpr int kKeyRepeatIntervalMs = 30;

}  // namespace

std::filesystem::path executableDirectory() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : exe.parent_path();
}

void useSdlShellServices() {
  shell.ticks = SDL_GetTicks;
  shell.lockAudio = SDL_LockAudio;
  shell.unlockAudio = SDL_UnlockAudio;
  shell.pauseAudio = [](bool paused) { SDL_PauseAudio(paused ? 1 : 0); };
}

bool startUp(int argc, char** argv) {
  const std::filesystem::path directory = executableDirectory();
  surfaces.background = directory.empty() ? nullptr : loadBitmapFile(directory / "user-background.bmp");
  const char* caption = "Qxxxxchanter";  // marks a user's own skin
  if (!surfaces.background) {
    surfaces.background = loadEmbeddedSkin();
    caption = "Quillchanter";
  }
  SDL_WM_SetCaption(caption, nullptr);
  SDL_EnableKeyRepeat(kKeyRepeatDelayMs, kKeyRepeatIntervalMs);
  SDL_EnableUNICODE(1);
  installWindowIcon();
  surfaces.screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
  if (!surfaces.screen) {
    std::fprintf(stderr, "quillchanter: cannot open the window: %s\n", SDL_GetError());
    return false;
  }

  resetToProgramStart();
  setStatus("Ready.");
  if (argc > 1) openModuleWithStatus(argv[1]);
  return true;
}

void shutDownWindow() {
  SDL_FreeSurface(surfaces.background);
  surfaces = Surfaces{};
}
