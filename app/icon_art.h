// The program's icon, a golden Q over a pulse wave, 32x32: the window icon
// and, scaled up at build time, the desktop's icons.
#pragma once

#include <cstdint>

namespace qc {

inline constexpr int kIconSize = 32;

struct IconPixel {
  uint8_t r, g, b;
  bool opaque;
};

IconPixel iconPixel(int x, int y);

}  // namespace qc
