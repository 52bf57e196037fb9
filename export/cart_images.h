// The cartridge's two fixed images, made at build time: the 6502 player
// assembled from export/cart_player/ (CPU $E000-$FFFF) and the tiles drawn by
// tools/chr_tiles.
#pragma once

#include <array>
#include <cstdint>

#include "export/rom_layout.h"

namespace qc {

extern const std::array<uint8_t, kCartImageSize> kCartPlayerImage;
extern const std::array<uint8_t, kCartImageSize> kCartCharacterRom;

// Where the player image keeps its two period tables: 97 little-endian words
// each, indexed by note number, PAL first.
inline constexpr int kCartPalPeriodsOffset = 0;
inline constexpr int kCartNtscPeriodsOffset = 2 * 97;

}  // namespace qc
