#include "app/drawing.h"

#include <algorithm>

#include "app/font.h"
#include "app/surfaces.h"

namespace {

// Holds the screen locked for direct pixel access while it is in scope.
class ScreenPixels {
 public:
  ScreenPixels() : screen(surfaces.screen) {
    if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
  }
  ~ScreenPixels() {
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
  }
  ScreenPixels(const ScreenPixels&) = delete;
  ScreenPixels& operator=(const ScreenPixels&) = delete;

  uint32_t* row(int y) const {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) + y * screen->pitch);
  }
  uint32_t map(Rgb c) const { return SDL_MapRGB(screen->format, c.r, c.g, c.b); }

  // The colour blended over one pixel, assembled as SDL does (unused bits 0).
  uint32_t blend(uint32_t below, Rgb c, int alpha) const {
    const SDL_PixelFormat& f = *screen->format;
    const int r = int(((below & f.Rmask) >> f.Rshift) << f.Rloss);
    const int g = int(((below & f.Gmask) >> f.Gshift) << f.Gloss);
    const int b = int(((below & f.Bmask) >> f.Bshift) << f.Bloss);
    return (uint32_t(blendComponent(c.r, r, alpha)) >> f.Rloss << f.Rshift) |
           (uint32_t(blendComponent(c.g, g, alpha)) >> f.Gloss << f.Gshift) |
           (uint32_t(blendComponent(c.b, b, alpha)) >> f.Bloss << f.Bshift);
  }

 private:
  SDL_Surface* screen;
};

}  // namespace

void drawBackground() {
  SDL_FillRect(surfaces.screen, nullptr, 0);
  if (surfaces.background) {
    SDL_Rect at{0, 0, 0, 0};
    SDL_BlitSurface(surfaces.background, nullptr, surfaces.screen, &at);
  }
}

void drawText(std::string_view text, int x, int y, Rgb colour, int alpha) {
  // Black is the text surface's colour key: black ink is never copied.
  if (colour == Rgb{0, 0, 0} || alpha <= 0 || text.empty()) return;
  if (y >= kScreenHeight || y + kGlyphHeight <= 0 || x >= kScreenWidth) return;
  const int firstChar = x < 0 ? -x / kGlyphWidth : 0;
  const int endChar = std::min<int>(int(text.size()), (kScreenWidth - x + kGlyphWidth - 1) / kGlyphWidth);
  if (firstChar >= endChar) return;

  const ScreenPixels pixels;
  const uint32_t ink = pixels.map(colour);
  const bool opaque = alpha >= kOpaque;
  const int top = std::max(y, 0);
  const int bottom = std::min(y + kGlyphHeight, kScreenHeight);
  for (int py = top; py < bottom; ++py) {
    uint32_t* row = pixels.row(py);
    const int glyphRow = (py - y) / 2;
    for (int i = firstChar; i < endChar; ++i) {
      const uint8_t bits = kFont[uint8_t(text[i]) * kGlyphRows + glyphRow];
      if (bits == 0) continue;
      const int cellX = x + i * kGlyphWidth;
      for (int bit = 0; bit < kGlyphWidth; ++bit) {
        const int px = cellX + bit;
        if (!(bits & (0x80 >> bit)) || px < 0 || px >= kScreenWidth) continue;
        row[px] = opaque ? ink : pixels.blend(row[px], colour, alpha);
      }
    }
  }
}

void drawHLine(int y, int x1, int x2, Rgb colour) {
  if (y < 0 || y >= kScreenHeight) return;
  if (x1 > x2) std::swap(x1, x2);
  x1 = std::max(x1, 0);
  x2 = std::min(x2, kScreenWidth - 1);
  if (x1 > x2) return;
  const ScreenPixels pixels;
  std::fill(pixels.row(y) + x1, pixels.row(y) + x2 + 1, pixels.map(colour));
}

void drawVLine(int x, int y1, int y2, Rgb colour) {
  if (x < 0 || x >= kScreenWidth) return;
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max(y1, 0);
  y2 = std::min(y2, kScreenHeight - 1);
  const ScreenPixels pixels;
  const uint32_t ink = pixels.map(colour);
  for (int y = y1; y <= y2; ++y) pixels.row(y)[x] = ink;
}

void drawBox(int x, int y, int width, int height, Rgb colour, int alpha) {
  const int left = std::max(x, 0);
  const int right = std::min(x + width, kScreenWidth);
  const int top = std::max(y, 0);
  const int bottom = std::min(y + height, kScreenHeight);
  if (left >= right || top >= bottom || alpha <= 0) return;
  const ScreenPixels pixels;
  const uint32_t fill = pixels.map(colour);
  for (int py = top; py < bottom; ++py) {
    uint32_t* row = pixels.row(py);
    for (int px = left; px < right; ++px)
      row[px] = alpha >= kOpaque ? fill : pixels.blend(row[px], colour, alpha);
  }
}
