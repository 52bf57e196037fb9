#include "app/panel.h"

#include "app/palette.h"
#include "app/surfaces.h"

namespace qc {

void drawPanel(int x, int y, int width, int height) {
  constexpr int kShadowAlpha = 120;
  constexpr int kShadowOffset = 6;
  drawBox(x + kShadowOffset, y + kShadowOffset, width, height, kShadow, kShadowAlpha);
  drawBox(x, y, width, height, kPanelFill, kOpaque);
  drawBox(x, y, width, kGlyphHeight, kPanelHeading, kOpaque);
  drawHLine(y, x, x + width - 1, kPanelBorder);
  drawHLine(y + kGlyphHeight, x, x + width - 1, kPanelBorder);
  drawHLine(y + height - 1, x, x + width - 1, kPanelBorder);
  drawVLine(x, y, y + height - 1, kPanelBorder);
  drawVLine(x + width - 1, y, y + height - 1, kPanelBorder);
}

}  // namespace qc
