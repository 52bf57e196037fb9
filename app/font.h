// The program's 8x8 bitmap font in code page 437 order, shown at 8x16.
#pragma once

#include <cstdint>

namespace qc {

inline constexpr int kGlyphCount = 256;
inline constexpr int kGlyphRows = 8;

// Glyph c is bytes 8c..8c+7, top row first; bit 7 is the leftmost pixel.
extern const uint8_t kFont[kGlyphCount * kGlyphRows];

inline constexpr char kDotGlyph = char(0xFA);  // marks empty pattern fields
inline constexpr char kBarGlyph = char(0xB3);  // separates the pattern tracks

}  // namespace qc
