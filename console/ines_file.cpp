#include "console/ines_file.h"

#include <cstring>

#include "export/rom_layout.h"

namespace qc {

namespace {

constexpr char kMagic[4] = {'N', 'E', 'S', 0x1A};
constexpr size_t kPrgBank = 16384;
constexpr size_t kChrBank = 8192;
constexpr int kVrc6Mapper = 24;
constexpr uint8_t kPalBit = 0x01;

}  // namespace

bool readInesFile(const std::vector<uint8_t>& file, InesFile& out, std::string& error) {
  if (file.size() < size_t(kInesHeaderSize) || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
    error = "not an iNES file";
    return false;
  }
  const int mapper = (file[6] >> 4) | (file[7] & 0xF0);
  if (mapper != kVrc6Mapper) {
    error = "an iNES file for mapper " + std::to_string(mapper) + "; the console has the VRC6 (mapper 24)";
    return false;
  }
  const size_t prgSize = file[4] * kPrgBank;
  const size_t chrSize = file[5] * kChrBank;
  if (prgSize == 0 || file.size() != size_t(kInesHeaderSize) + prgSize + chrSize) {
    error = "the iNES file's size does not match the ROM sizes in its header";
    return false;
  }
  out.prg.assign(file.begin() + long(size_t(kInesHeaderSize)), file.begin() + long(size_t(kInesHeaderSize) + prgSize));
  out.chr.assign(file.begin() + long(size_t(kInesHeaderSize) + prgSize), file.end());
  out.pal = (file[9] & kPalBit) != 0;
  return true;
}

}  // namespace qc
