#include <cstring>
#include <random>
#include <string>

#include "app/font.h"
#include "screen_fixture.h"

namespace qc {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

using DrawingTest = ScreenTest;

TEST_F(DrawingTest, FontHasTheRomShapesTheEditorReliesOn) {
  const uint8_t shapes[][8] = {{0x30, 0x78, 0xCC, 0xCC, 0xFC, 0xCC, 0xCC, 0x00}, {0, 0, 0, 0, 0x18, 0, 0, 0},
                               {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}, {}, {}};
  const uint8_t glyphs[] = {'A', uint8_t(kDotGlyph), 0xB3, ' ', 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(std::memcmp(&kFont[glyphs[i] * 8], shapes[i], 8), 0) << int(glyphs[i]);
}

TEST_F(DrawingTest, LinesAreClippedAndTakeEitherOrder) {
  drawHLine(10, 20, 5, kWhite);
  EXPECT_EQ(pixel(5, 10), kWhite);
  EXPECT_EQ(pixel(20, 10), kWhite);
  EXPECT_EQ(pixel(21, 10), kBlack);
  drawHLine(-1, 0, 100, kWhite);
  drawHLine(592, 0, 100, kWhite);
  drawHLine(591, -50, 9999, kWhite);
  EXPECT_EQ(pixel(0, 591), kWhite);
  EXPECT_EQ(pixel(735, 591), kWhite);
  drawVLine(735, 600, -10, kWhite);
  EXPECT_EQ(pixel(735, 0), kWhite);
  drawVLine(736, 0, 10, kWhite);
}

// The blits the drawing replaces: per-call 24-bit surfaces with a black colour
// key (text only) and per-surface alpha.
void referenceBlit(SDL_Surface* target, SDL_Surface* s, int x, int y) {
  SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
  SDL_BlitSurface(s, nullptr, target, &at);
  SDL_FreeSurface(s);
}

void referenceText(SDL_Surface* target, std::string text, int x, int y, Rgb c, int alpha) {
  text = text.c_str();  // a C string: up to its first NUL
  if (text.empty()) return;
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8 * int(text.size()), 16, 24, 0, 0, 0, 0);
  SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0);
  const Uint32 ink = SDL_MapRGB(s->format, c.r, c.g, c.b);
  SDL_LockSurface(s);
  for (size_t i = 0; i < text.size(); ++i)
    for (int r = 0; r < 16; ++r)
      for (int b = 0; b < 8; ++b) {
        const Uint32 v = (kFont[uint8_t(text[i]) * 8 + r / 2] & (0x80 >> b)) ? ink : 0;
        Uint8* p = static_cast<Uint8*>(s->pixels) + r * s->pitch + (8 * i + b) * 3;
        p[0] = Uint8(v), p[1] = Uint8(v >> 8), p[2] = Uint8(v >> 16);
      }
  SDL_UnlockSurface(s);
  if (alpha != 255) SDL_SetAlpha(s, SDL_SRCALPHA, Uint8(alpha));
  referenceBlit(target, s, x, y);
}

void referenceBox(SDL_Surface* target, int x, int y, int w, int h, Rgb c, int alpha) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0, 0, 0, 0);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, c.r, c.g, c.b));
  SDL_SetAlpha(s, SDL_SRCALPHA, Uint8(alpha));
  referenceBlit(target, s, x, y);
}

Uint32& rawPixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}

// Random boxes and texts (any bytes, NULs, black and near-black ink, any
// alpha, cut at every edge) over a varied background, against the blits.
TEST_F(DrawingTest, DirectDrawingMatchesSurfaceBlitsPixelForPixel) {
  SDL_Surface* screen = surfaces.screen;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      rawPixel(screen, x, y) = SDL_MapRGB(screen->format, Uint8(x), Uint8(y), Uint8(x + y));
  const SDL_PixelFormat* f = screen->format;
  SDL_Surface* reference =
      SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenWidth, kScreenHeight, 32, f->Rmask, f->Gmask, f->Bmask, 0);
  SDL_BlitSurface(screen, nullptr, reference, nullptr);

  std::mt19937 random(5);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  for (int i = 0; i < 300; ++i) {
    const Rgb c{Uint8(pick(0, 255)), Uint8(pick(0, 255)), Uint8(pick(0, 1) ? pick(0, 255) : 0)};
    const int alphas[] = {0, 1, 75, 110, 128, 150, 200, 254, 255, pick(0, 255)};
    const int alpha = alphas[pick(0, 9)];
    if (i % 3 == 0) {
      const int w = pick(1, 300), h = pick(1, 100);
      const int x = pick(-100, 735), y = pick(-50, 591);
      drawBox(x, y, w, h, c, alpha);
      referenceBox(reference, x, y, w, h, c, alpha);
    } else {
      std::string text;
      for (int n = pick(0, 20); n > 0; --n) text += char(pick(0, 255));
      const int x = pick(-100, 735), y = pick(-20, 591);
      const Rgb colour = i % 10 == 1 ? kBlack : i % 10 == 2 ? Rgb{1, 0, 0} : c;  // near black still shows
      drawText(text, x, y, colour, alpha);
      referenceText(reference, text, x, y, colour, alpha);
    }
  }
  int differing = 0;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      differing += (rawPixel(screen, x, y) & 0xFFFFFF) != (rawPixel(reference, x, y) & 0xFFFFFF);
  SDL_FreeSurface(reference);
  EXPECT_EQ(differing, 0);
}

}  // namespace

}  // namespace qc
