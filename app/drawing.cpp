#include "app/drawing.h"

#include <algorithm>
#include <optional>

#include "app/font.h"
#include "app/surfaces.h"

namespace qc {

namespace {

// Holds the 32-bit screen (8 bits a component) locked for direct pixel access.
class ScreenPixels {
 public:
  ScreenPixels()
      : screen(surfaces.screen),
        rShift(screen->format->Rshift),
        gShift(screen->format->Gshift),
        bShift(screen->format->Bshift) {
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
  // Unused bits stay 0, as in the pixels SDL's blits assemble.
  uint32_t map(Rgb c) const {
    return uint32_t(c.r) << rShift | uint32_t(c.g) << gShift | uint32_t(c.b) << bShift;
  }

  SDL_Surface* const screen;
  const int rShift, gShift, bShift;
};

// A colour at one alpha, blended over any pixel by table lookup.
class Blend {
 public:
  Blend(const ScreenPixels& pixels, Rgb c, int alpha)
      : rShift(pixels.rShift), gShift(pixels.gShift), bShift(pixels.bShift) {
    for (int v = 0; v < 256; ++v) {
      r[v] = uint8_t(blendComponent(c.r, v, alpha));
      g[v] = uint8_t(blendComponent(c.g, v, alpha));
      b[v] = uint8_t(blendComponent(c.b, v, alpha));
    }
  }
  uint32_t over(uint32_t below) const {
    return uint32_t(r[(below >> rShift) & 0xFF]) << rShift | uint32_t(g[(below >> gShift) & 0xFF]) << gShift |
           uint32_t(b[(below >> bShift) & 0xFF]) << bShift;
  }

 private:
  const int rShift, gShift, bShift;
  uint8_t r[256], g[256], b[256];
};

}  // namespace

void drawBackground() {
  SDL_Surface* background = surfaces.background;
  // A background that covers the window leaves nothing of the black fill.
  if (!background || background->w < kScreenWidth || background->h < kScreenHeight)
    SDL_FillRect(surfaces.screen, nullptr, 0);
  if (background) {
    SDL_Rect at{0, 0, 0, 0};
    SDL_BlitSurface(background, nullptr, surfaces.screen, &at);
  }
}

void drawText(std::string_view text, int x, int y, Rgb colour, int alpha) {
  text = text.substr(0, text.find('\0'));  // the text ends at its first NUL byte
  // Black is the text surface's colour key: black ink is never copied.
  if (colour == Rgb{0, 0, 0} || alpha <= 0 || text.empty()) return;
  if (y >= kScreenHeight || y + kGlyphHeight <= 0 || x >= kScreenWidth) return;
  const int firstChar = x < 0 ? -x / kGlyphWidth : 0;
  const int endChar = std::min<int>(int(text.size()), (kScreenWidth - x + kGlyphWidth - 1) / kGlyphWidth);
  if (firstChar >= endChar) return;

  const ScreenPixels pixels;
  const uint32_t ink = pixels.map(colour);
  const bool opaque = alpha >= kOpaque;
  std::optional<Blend> blend;  // only translucent text needs the table
  if (!opaque) blend.emplace(pixels, colour, alpha);
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
        row[px] = opaque ? ink : blend->over(row[px]);
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
  if (alpha >= kOpaque) {
    for (int py = top; py < bottom; ++py) std::fill(pixels.row(py) + left, pixels.row(py) + right, pixels.map(colour));
    return;
  }
  const Blend blend(pixels, colour, alpha);
  for (int py = top; py < bottom; ++py) {
    uint32_t* row = pixels.row(py);
    for (int px = left; px < right; ++px) row[px] = blend.over(row[px]);
  }
}

}  // namespace qc
