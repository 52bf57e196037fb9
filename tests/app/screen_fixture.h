// The program as it starts, on a headless 736x592 screen (SDL's dummy video
// driver), with a clock of the test's own and a fresh working folder.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/drawing.h"
#include "app/file_dialog.h"
#include "app/font.h"
#include "app/help_overlay.h"
#include "app/mouse.h"
#include "app/surfaces.h"
#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/shell_services.h"
#include "tests/temp_dir.h"

namespace qc {

inline uint32_t fakeTicks;

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
      setenv("SDL_VIDEODRIVER", "dummy", 1);
      SDL_Init(SDL_INIT_VIDEO);
    }
    if (!surfaces.screen) surfaces.screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
    ASSERT_NE(surfaces.screen, nullptr);
    surfaces.background = nullptr;
    resetToProgramStart();
    clearUndoHistory();
    resetFileDialogs();
    resetMouse();
    closeHelpOverlay();
    savedTicks = shell.ticks;
    fakeTicks = 100000;
    shell.ticks = [] { return fakeTicks; };
    savedDirectory = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    SDL_FillRect(surfaces.screen, nullptr, SDL_MapRGB(surfaces.screen->format, 0, 0, 0));
  }
  void TearDown() override {
    std::filesystem::current_path(savedDirectory);
    resetFileDialogs();  // a dialog's answer may point into the test
    closeHelpOverlay();
    shell.ticks = savedTicks;
  }

  static Rgb pixel(int x, int y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surfaces.screen->pixels) +
                                                        y * surfaces.screen->pitch);
    Rgb c;
    SDL_GetRGB(row[x], surfaces.screen->format, &c.r, &c.g, &c.b);
    return c;
  }
  // True when every ink pixel of the text drawn at (x, y) has the colour.
  static bool inkIs(std::string_view text, int x, int y, Rgb colour) {
    bool anyInk = false;
    for (size_t i = 0; i < text.size(); ++i)
      for (int r = 0; r < kGlyphHeight; ++r)
        for (int b = 0; b < 8; ++b) {
          if (!(kFont[uint8_t(text[i]) * kGlyphRows + r / 2] & (0x80 >> b))) continue;
          const int px = x + int(i) * kGlyphWidth + b, py = y + r;
          if (px < 0 || py < 0 || px >= kScreenWidth || py >= kScreenHeight) continue;
          anyInk = true;
          if (!(pixel(px, py) == colour)) return false;
        }
    return anyInk;
  }
  static Rgb blend(Rgb c, Rgb below, int alpha) {
    return Rgb{uint8_t(blendComponent(c.r, below.r, alpha)), uint8_t(blendComponent(c.g, below.g, alpha)),
               uint8_t(blendComponent(c.b, below.b, alpha))};
  }

  TempDir dir;
  std::filesystem::path savedDirectory;
  uint32_t (*savedTicks)() = nullptr;
};

inline ::std::ostream& operator<<(::std::ostream& os, const Rgb& c) {
  return os << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

}  // namespace qc
