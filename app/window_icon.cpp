#include "app/window_icon.h"

#include <SDL.h>

#include <array>

namespace {

constexpr int kSize = 32;

// '.' is transparent.
constexpr const char* kArt[kSize] = {
    "................................",
    "....########################....",
    "..##nnnnnnnnnnnnnnnnnnnnnnnn##..",
    "..#nnnnnnnnnnnnnnnnnnnnnnnnnn#..",
    ".#nnnnnnnnnnnggggggnnnnnnnnnnn#.",
    ".#nnnnnnnnnggggggggggnnnnnnnnn#.",
    ".#nnnnnnnnggggggggggggnnnnnnnn#.",
    ".#nnnnnnnggggggggggggggnnnnnnn#.",
    ".#nnnnnngggggnnnnnngggggnnnnnn#.",
    ".#nnnnnnggggnnnnnnnnggggnnnnnn#.",
    ".#nnnnnggggnnnnnnnnnnggggnnnnn#.",
    ".#nnnnnggggnnnnnnnnnnggggnnnnn#.",
    ".#nnnnnggggnnnnnnnnnnggggnnnnn#.",
    ".#nnnnnoooonnnnnnnnnnoooonnnnn#.",
    ".#nnnnnoooonnnnnnnnnnoooonnnnn#.",
    ".#nnnnnoooonnnnnnnnnnoooonnnnn#.",
    ".#nnnnnnoooonnnnnnnnoooonnnnnn#.",
    ".#nnnnnnooooonnnnnoooooonnnnnn#.",
    ".#nnnnnnnoooooooooooooonnnnnnn#.",
    ".#nnnnnnnnoooooooooooonnnnnnnn#.",
    ".#nnnnnnnnnoooooooooooonnnnnnn#.",
    ".#nnnnnnnnnnnoooooonnooonnnnnn#.",
    ".#nnnnnnnnnnnnnnnnnnnnooonnnnn#.",
    ".#nnnnnnnnnnnnnnnnnnnnnooonnnn#.",
    ".#nnnnnnnnnnnnnnnnnnnnnnooonnn#.",
    ".#nnnwwwwnnnnwwwwnnnnwwwwnnnnn#.",
    ".#nnnwnnwnnnnwnnwnnnnwnnwnnnnn#.",
    ".#nnnwnnwnnnnwnnwnnnnwnnwnnnnn#.",
    "..#nnwnnwwwwwwnnwwwwwwnnwwwnn#..",
    "..##nnnnnnnnnnnnnnnnnnnnnnnn##..",
    "....########################....",
    "................................",
};

Uint32 colourOf(const SDL_PixelFormat* format, char c) {
  switch (c) {
    case '#': return SDL_MapRGB(format, 70, 80, 116);
    case 'n': return SDL_MapRGB(format, 22, 26, 40);
    case 'g': return SDL_MapRGB(format, 255, 214, 130);
    case 'o': return SDL_MapRGB(format, 236, 128, 64);
    case 'w': return SDL_MapRGB(format, 150, 230, 170);
    default: return 0;
  }
}

}  // namespace

void installWindowIcon() {
  SDL_Surface* icon = SDL_CreateRGBSurface(SDL_SWSURFACE, kSize, kSize, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  if (!icon) return;
  std::array<Uint8, kSize * kSize / 8> mask{};  // one bit per pixel, MSB leftmost
  SDL_LockSurface(icon);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
      row[x] = colourOf(icon->format, kArt[y][x]);
      if (kArt[y][x] != '.') mask[(y * kSize + x) / 8] |= Uint8(0x80 >> (x % 8));
    }
  SDL_UnlockSurface(icon);
  SDL_WM_SetIcon(icon, mask.data());
  SDL_FreeSurface(icon);
}
