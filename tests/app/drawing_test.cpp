#include <cstring>
#include <random>
#include <string>

#include "app/font.h"
#include "screen_fixture.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};

using DrawingTest = ScreenTest;

TEST_F(DrawingTest, FontHasTheRomShapesTheEditorReliesOn) {
  const uint8_t a[8] = {0x30, 0x78, 0xCC, 0xCC, 0xFC, 0xCC, 0xCC, 0x00};
  const uint8_t dot[8] = {0, 0, 0, 0, 0x18, 0, 0, 0};
  const uint8_t bar[8] = {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18};
  EXPECT_EQ(std::memcmp(&kFont['A' * 8], a, 8), 0);
  EXPECT_EQ(std::memcmp(&kFont[0xFA * 8], dot, 8), 0);
  EXPECT_EQ(std::memcmp(&kFont[0xB3 * 8], bar, 8), 0);
  for (int row = 0; row < 8; ++row) {
    EXPECT_EQ(kFont[' ' * 8 + row], 0);
    EXPECT_EQ(kFont[row], 0);
  }
}

TEST_F(DrawingTest, LetterAIsDrawnAtDoubleHeight) {
  const Rgb grey{30, 40, 50};
  fill(grey);
  drawText("A", 0, 0, kWhite);
  EXPECT_EQ(pixel(2, 0), kWhite);
  EXPECT_EQ(pixel(3, 0), kWhite);
  EXPECT_EQ(pixel(2, 1), kWhite);
  EXPECT_EQ(pixel(3, 1), kWhite);
  EXPECT_EQ(pixel(0, 0), grey);
  EXPECT_EQ(pixel(4, 0), grey);
  EXPECT_EQ(pixel(0, 14), grey);  // glyph row 7 is blank
}

TEST_F(DrawingTest, CentredDotIsATwoByTwoSquare) {
  drawText(std::string(1, kDotGlyph), 80, 32, kWhite);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool ink = (x == 3 || x == 4) && (y == 8 || y == 9);
      EXPECT_EQ(pixel(80 + x, 32 + y), (ink ? kWhite : Rgb{0, 0, 0})) << x << "," << y;
    }
}

TEST_F(DrawingTest, BlackTextAndZeroAlphaChangeNothing) {
  const Rgb grey{90, 90, 90};
  fill(grey);
  drawText("AAAA", 0, 0, Rgb{0, 0, 0});
  drawText("AAAA", 0, 16, kWhite, 0);
  drawText("", 0, 32, kWhite);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(pixel(x, y), grey) << x << "," << y;
  drawText("A", 0, 0, Rgb{1, 0, 0});  // the heading shadow colour is visible
  EXPECT_EQ(pixel(2, 0), (Rgb{1, 0, 0}));
}

TEST_F(DrawingTest, HalfAlphaAveragesWithWhatIsBelow) {
  fill(Rgb{0, 100, 255});
  drawText("A", 0, 0, Rgb{255, 200, 1}, 128);
  EXPECT_EQ(pixel(2, 0), (Rgb{128, 150, 128}));
  EXPECT_EQ(pixel(0, 0), (Rgb{0, 100, 255}));
}

TEST_F(DrawingTest, TextIsCutAtTheRightEdge) {
  drawText("AAAA", 730, 0, kWhite);
  EXPECT_EQ(pixel(732, 0), kWhite);  // "A" ink at columns 2, 3
  EXPECT_EQ(pixel(733, 0), kWhite);
  EXPECT_EQ(pixel(0, 0), (Rgb{0, 0, 0}));  // nothing wraps onto the next row
  EXPECT_EQ(pixel(2, 1), (Rgb{0, 0, 0}));
  drawText("AAAA", -6, 590, kWhite);  // cut on the left and at the bottom too
  EXPECT_EQ(pixel(4, 590), kWhite);  // the second "A" starts at x = 2
  EXPECT_EQ(pixel(0, 590), (Rgb{0, 0, 0}));
}

TEST_F(DrawingTest, LinesAreClippedAndTakeEitherOrder) {
  drawHLine(10, 20, 5, kWhite);
  EXPECT_EQ(pixel(5, 10), kWhite);
  EXPECT_EQ(pixel(20, 10), kWhite);
  EXPECT_EQ(pixel(21, 10), (Rgb{0, 0, 0}));
  drawHLine(-1, 0, 100, kWhite);
  drawHLine(592, 0, 100, kWhite);
  drawHLine(591, -50, 9999, kWhite);
  EXPECT_EQ(pixel(0, 591), kWhite);
  EXPECT_EQ(pixel(735, 591), kWhite);
  drawVLine(735, 600, -10, kWhite);
  EXPECT_EQ(pixel(735, 0), kWhite);
  drawVLine(736, 0, 10, kWhite);
}

// The blit the drawing replaces: per-call 24-bit surfaces with a black colour
// key and per-surface alpha.
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
  SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
  SDL_BlitSurface(s, nullptr, target, &at);
  SDL_FreeSurface(s);
}

void referenceBox(SDL_Surface* target, int x, int y, int w, int h, Rgb c, int alpha) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0, 0, 0, 0);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, c.r, c.g, c.b));
  SDL_SetAlpha(s, SDL_SRCALPHA, Uint8(alpha));
  SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
  SDL_BlitSurface(s, nullptr, target, &at);
  SDL_FreeSurface(s);
}

TEST_F(DrawingTest, DirectDrawingMatchesSurfaceBlitsPixelForPixel) {
  SDL_Surface* screen = surfaces.screen;
  SDL_LockSurface(screen);
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) + y * screen->pitch)[x] =
          SDL_MapRGB(screen->format, Uint8(x), Uint8(y), Uint8(x + y));
  SDL_UnlockSurface(screen);
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
      const Rgb colour = i % 10 == 1 ? Rgb{0, 0, 0} : c;
      drawText(text, x, y, colour, alpha);
      referenceText(reference, text, x, y, colour, alpha);
    }
  }
  int differing = 0;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) {
      const Uint32 a = reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) + y * screen->pitch)[x];
      const Uint32 b = reinterpret_cast<Uint32*>(static_cast<Uint8*>(reference->pixels) + y * reference->pitch)[x];
      differing += (a & 0xFFFFFF) != (b & 0xFFFFFF);
    }
  SDL_FreeSurface(reference);
  EXPECT_EQ(differing, 0);
}

}  // namespace
