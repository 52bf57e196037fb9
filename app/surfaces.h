// The window's surfaces and its character grid.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace qc {

inline constexpr int kScreenWidth = 736;
inline constexpr int kScreenHeight = 592;
inline constexpr int kScreenDepth = 32;
inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 16;  // each 8x8 glyph row covers two pixel rows
inline constexpr int kScreenColumns = kScreenWidth / kGlyphWidth;  // 92
inline constexpr int kScreenLines = kScreenHeight / kGlyphHeight;  // 37

struct Surfaces {
  SDL_Surface* screen = nullptr;      // the video surface, owned by SDL
  SDL_Surface* background = nullptr;  // the skin; null draws the interface on black
};

extern Surfaces surfaces;

}  // namespace qc
