#include "app/start_up.h"

#include <SDL.h>

#include <cstdio>
#include <system_error>

#include "app/drop_target.h"
#include "app/file_commands.h"
#include "app/file_dialog.h"
#include "app/module_loading.h"
#include "app/skin.h"
#include "app/surfaces.h"
#include "app/video_start.h"
#include "app/window_icon.h"
#include "editor/key_reference.h"
#include "editor/status_line.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

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

const char* chooseBackground(const std::filesystem::path& directory) {
  surfaces.background = directory.empty() ? nullptr : loadBitmapFile(directory / "user-background.bmp");
  if (surfaces.background) return "Qxxxxchanter";  // marks a user's own skin
  surfaces.background = loadEmbeddedSkin();
  return "Quillchanter";
}

bool startUp(int argc, char** argv) {
  if (!startVideo()) {
    std::fprintf(stderr, "quillchanter: cannot reach the display: %s\n", SDL_GetError());
    return false;
  }
  const char* caption = chooseBackground(executableDirectory());
  SDL_WM_SetCaption(caption, nullptr);
  SDL_EnableKeyRepeat(kKeyRepeatDelayMs, kKeyRepeatIntervalMs);
  SDL_EnableUNICODE(1);
  surfaces.screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
  if (!surfaces.screen) {
    std::fprintf(stderr, "quillchanter: cannot open the window: %s\n", SDL_GetError());
    return false;
  }
  // SDL 1.2's X11 driver can crash setting an icon before the window exists.
  installWindowIcon();
  // In the screen's format the per-frame blit is a plain copy of the same pixels.
  SDL_Surface* converted =
      surfaces.background ? SDL_ConvertSurface(surfaces.background, surfaces.screen->format, SDL_SWSURFACE) : nullptr;
  if (converted) {
    SDL_FreeSurface(surfaces.background);
    surfaces.background = converted;
  }

  enableDropTarget();
  resetFileDialogs();
  setFileCommandRunner(startFileCommand);

  resetToProgramStart();
  setStatus("Ready.");
  std::puts(helpHint().c_str());
  std::fflush(stdout);
  if (argc > 1) openModuleWithStatus(argv[1]);
  return true;
}

void shutDownWindow() {
  SDL_FreeSurface(surfaces.background);
  surfaces = Surfaces{};
}

}  // namespace qc
