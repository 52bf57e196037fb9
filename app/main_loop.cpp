#include "app/main_loop.h"

#include <SDL_syswm.h>

#include <new>

#include "app/autosave.h"
#include "app/draw_screen.h"
#include "app/drop_target.h"
#include "app/file_dialog.h"
#include "app/frame_pacing.h"
#include "app/help_overlay.h"
#include "app/mouse.h"
#include "editor/status_line.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

KeyEvent keyEventFrom(const SDL_keysym& keysym) {
  return KeyEvent{int32_t(keysym.sym), int32_t(keysym.mod), keysym.unicode};
}

void handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const KeyEvent key = keyEventFrom(event.key.keysym);
      if (event.key.state != SDL_PRESSED) {
        handleKeyUp(key);  // also while a dialog is open, so no preview note hangs
      } else if (helpOverlayKey(key)) {
        // the help takes every key while it is shown
      } else if (fileDialogOpen()) {
        fileDialogKey(key);
      } else {
        handleKeyDown(key);
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
      // The help covers the panels: a press there must not reach them.
      if (event.type == SDL_MOUSEBUTTONDOWN && helpOverlay().open) break;
      handleMouseEvent(event);
      break;
    case SDL_QUIT:
      app.running = false;
      break;
    case SDL_SYSWMEVENT:
      if (event.syswm.msg) handleWindowSystemEvent(*event.syswm.msg);
      break;
    default:
      break;
  }
}

namespace {

constexpr const char* kOutOfMemory = "Not enough memory!";

// An import or a load that needs more memory than there is must not end the
// program and the unsaved song with it. Called with the audio lock held.
void handleEventReportingMemoryErrors(const SDL_Event& event) {
  try {
    handleEvent(event);
  } catch (const std::bad_alloc&) {
    setStatus(kOutOfMemory);
  }
}

void finishFileDialogReportingMemoryErrors() {
  try {
    finishFileDialog();
  } catch (const std::bad_alloc&) {
    AudioLock lock;
    setStatus(kOutOfMemory);
  }
}

}  // namespace

void runMainLoop() {
  FramePacing pacing;
  while (app.running) {
    {
      // The audio thread reads the song and moves the play position: every
      // change and the drawing of the frame happen while it waits. Keys
      // after a closing dialog wait for the next pass, once its command ran.
      AudioLock lock;
      SDL_Event event;
      while (!fileDialogAnswered() && SDL_PollEvent(&event)) handleEventReportingMemoryErrors(event);
      continueDrag();
    }
    // File work takes the lock only where it changes the song.
    finishFileDialogReportingMemoryErrors();
    autosaveIfDue();
    {
      AudioLock lock;
      drawScreen();
    }
    presentScreen();
    SDL_Delay(uint32_t(paceFrame(pacing, SDL_GetTicks())));
  }
}

}  // namespace qc
