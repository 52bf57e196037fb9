#include "app/window_icon.h"

#include <SDL.h>

#include <array>

#include "app/icon_art.h"

namespace qc {

void installWindowIcon() {
  SDL_Surface* icon = SDL_CreateRGBSurface(SDL_SWSURFACE, kIconSize, kIconSize, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  if (!icon) return;
  std::array<Uint8, kIconSize * kIconSize / 8> mask{};  // one bit per pixel, MSB leftmost
  SDL_LockSurface(icon);
  for (int y = 0; y < kIconSize; ++y)
    for (int x = 0; x < kIconSize; ++x) {
      auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
      const IconPixel p = iconPixel(x, y);
      row[x] = SDL_MapRGB(icon->format, p.r, p.g, p.b);
      if (p.opaque) mask[size_t(y * kIconSize + x) / 8] |= Uint8(0x80 >> (x % 8));
    }
  SDL_UnlockSurface(icon);
  SDL_WM_SetIcon(icon, mask.data());
  SDL_FreeSurface(icon);
}

}  // namespace qc
