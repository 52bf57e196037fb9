// The header of an NES Sound Format file, as the console needs it to load
// and call the tune: addresses, bank-switch start values, the standard.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qc {

struct NsfFile {
  uint16_t loadAddress = 0;
  uint16_t initAddress = 0;
  uint16_t playAddress = 0;
  uint8_t songs = 0;
  uint8_t startSong = 0;  // 1-based, as stored
  bool pal = false;
  // Play calls per second as the header asks for the standard.
  double playRate = 0;
  bool banked = false;
  std::array<uint8_t, 8> banks{};  // start values of $5FF8-$5FFF
  // The program and data from $8000 on, in 4 KB banks: banked files start
  // (load & $FFF) bytes into bank 0, others at (load - $8000).
  std::vector<uint8_t> data;
};

// False with a one-line reason when `file` is no NSF the console can play
// (too short, wrong magic, no songs, data below $8000, expansion chips).
bool readNsfFile(const std::vector<uint8_t>& file, NsfFile& out, std::string& error);

}  // namespace qc
