#include "console/nsf_file.h"

#include <cstring>

#include "export/nsf_layout.h"

namespace qc {

namespace {

constexpr char kMagic[5] = {'N', 'E', 'S', 'M', 0x1A};
constexpr uint16_t kRomStart = 0x8000;
constexpr double kMicrosecondsPerSecond = 1e6;
// A period of 0 means the standard's own rate.
constexpr double kNtscFrameRate = 60.0988;
constexpr double kPalFrameRate = 50.0070;

uint16_t word(const std::vector<uint8_t>& file, size_t at) { return uint16_t(file[at] | file[at + 1] << 8); }

}  // namespace

bool readNsfFile(const std::vector<uint8_t>& file, NsfFile& out, std::string& error) {
  if (file.size() < size_t(kNsfHeaderBytes) || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
    error = "not an NSF file";
    return false;
  }
  NsfFile f;
  f.songs = file[6];
  f.startSong = file[7];
  f.loadAddress = word(file, 8);
  f.initAddress = word(file, 10);
  f.playAddress = word(file, 12);
  f.pal = (file[kNsfPalOffset] & 1) != 0;
  const uint16_t period = word(file, f.pal ? 120 : 110);
  f.playRate = period ? kMicrosecondsPerSecond / period : f.pal ? kPalFrameRate : kNtscFrameRate;
  for (size_t i = 0; i < f.banks.size(); ++i) f.banks[i] = file[112 + i];
  for (uint8_t b : f.banks) f.banked |= b != 0;
  if (f.songs == 0) {
    error = "the NSF file holds no songs";
    return false;
  }
  if (file[123] != 0) {
    error = "the NSF file needs expansion sound chips, which the console does not have";
    return false;
  }
  if (f.loadAddress < kRomStart || f.initAddress < kRomStart || f.playAddress < kRomStart) {
    error = "the NSF file loads or runs code below $8000";
    return false;
  }
  f.data.assign(f.banked ? f.loadAddress & 0xFFF : f.loadAddress - kRomStart, 0);
  f.data.insert(f.data.end(), file.begin() + size_t(kNsfHeaderBytes), file.end());
  out = std::move(f);
  return true;
}

}  // namespace qc
