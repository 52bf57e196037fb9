// An iNES cartridge image for the VRC6 (mapper 24): its PRG and CHR ROM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qc {

struct InesFile {
  std::vector<uint8_t> prg;  // whole 16 KB banks
  std::vector<uint8_t> chr;  // whole 8 KB banks, or none
  bool pal = false;          // the header's TV system bit (byte 9, bit 0)
};

// False with a one-line reason when `file` is no image the console can run:
// not iNES, another mapper, no PRG ROM, or a size that disagrees with the
// header.
bool readInesFile(const std::vector<uint8_t>& file, InesFile& out, std::string& error);

}  // namespace qc
