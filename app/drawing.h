// Text, lines and translucent boxes, drawn straight into the screen surface.
// The pixels are those that SDL 1.2 gives when the same shapes are blitted
// from temporary 24-bit surfaces: text through a black colour key, both text
// and boxes with per-surface alpha, everything clipped by the screen.
#pragma once

#include <cstdint>
#include <string_view>

namespace qc {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

inline constexpr int kOpaque = 255;

// Fills the screen with black and blits the background, if any, at (0, 0).
void drawBackground();

// One glyph row on two pixel rows; clear glyph pixels and ink in pure black
// leave what is below unchanged; alpha below 255 blends the ink uniformly.
void drawText(std::string_view text, int x, int y, Rgb colour, int alpha = kOpaque);

// Rows outside the screen draw nothing; x1 and x2 in either order, inclusive.
void drawHLine(int y, int x1, int x2, Rgb colour);
void drawVLine(int x, int y1, int y2, Rgb colour);

// The colour blended over the rectangle with the given alpha.
void drawBox(int x, int y, int width, int height, Rgb colour, int alpha);

// SDL 1.2's per-surface alpha blend of one 8-bit component (alpha 128 averages).
inline int blendComponent(int source, int below, int alpha) {
  return below + (((source - below) * alpha + 255) >> 8);
}

}  // namespace qc
