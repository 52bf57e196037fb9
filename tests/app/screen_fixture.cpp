#include "screen_fixture.h"

#include "app/font.h"

namespace qc {

bool ScreenTest::inkIs(std::string_view text, int x, int y, Rgb colour) {
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

}  // namespace qc
