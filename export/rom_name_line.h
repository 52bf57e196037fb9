// Instrument names as the cartridge shows them: 32 CHR tile numbers a line.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qc {

inline constexpr int kNameLineWidth = 32;  // one screen row of tiles

// The font's tile of character code c is (c - 94) mod 256 for space..']'.
inline constexpr uint8_t kTileOffset = 94;

// The tile the cartridge shows for one character of a name: upper case,
// '|' as the '[' tile and '_' as the ']' tile (the font draws those two as a
// bar and an underscore), '\' kept, anything else outside space..'Z' blank.
uint8_t nameCharacterTile(char c);

// Columns 1..30 hold the first 30 characters; columns 0 and 31 stay blank.
std::array<uint8_t, kNameLineWidth> instrumentNameLine(const std::string& name);

}  // namespace qc
