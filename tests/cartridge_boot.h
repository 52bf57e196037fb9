// A song's cartridge image inserted in the console and reset.
#pragma once

#include <memory>
#include <string>

#include "console/cartridge_machine.h"
#include "export/cart_images.h"
#include "export/rom_layout.h"

namespace qc {

inline std::unique_ptr<CartridgeMachine> bootCartridge(const Song& song, bool pal, bool timerWired = true) {
  InesFile rom;
  std::string error;
  EXPECT_TRUE(readInesFile(buildRomImage(song, kCartPlayerImage, kCartCharacterRom).bytes, rom, error)) << error;
  auto machine = std::make_unique<CartridgeMachine>(std::move(rom), pal, timerWired);
  machine->reset();
  return machine;
}

// Name-table row `row` as text: a font tile as its character (tile + 94),
// the empty tile 0 as '.', any other tile (the logo) as '#'.
inline std::string screenRow(const CartridgeMachine& machine, int row) {
  std::string text;
  for (int column = 0; column < 32; ++column) {
    const uint8_t tile = machine.ppu.vram[size_t(0x2000 + row * 32 + column)];
    const int c = (tile + 94) & 0xFF;
    text += tile == 0 ? '.' : c >= ' ' && c <= ']' ? char(c) : '#';
  }
  return text;
}

}  // namespace qc
