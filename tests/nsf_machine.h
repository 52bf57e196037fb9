// An NSF player's machine around the test CPU, as the NSF format defines
// it: 2 KB of RAM (mirrored to $1FFF), 8 KB of RAM at $6000, and the bank
// registers $5FF8-$5FFF, each mapping a 4 KB bank of the file's data into
// $8000 + n * $1000. Every write to $4000-$4017 is logged with its cycle.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tests/cpu6502.h"

struct ApuWrite {
  uint64_t cycle;
  uint16_t address;
  uint8_t value;
};

class NsfMachine : public Bus {
 public:
  // Throws std::runtime_error on a file that is not a banked NSF.
  explicit NsfMachine(std::vector<uint8_t> file);

  uint8_t read(uint16_t address) override;
  void write(uint16_t address, uint8_t value, uint64_t cycle) override;

  // Runs init to its RTS; false when it takes longer than maxCycles.
  bool init(uint8_t song, bool pal, uint64_t maxCycles = 100000);
  // Enters play at the current cycle (playStart) and runs it until `cycle`.
  void startPlay();
  void runUntil(uint64_t cycle);

  Cpu6502 cpu{*this};
  std::vector<ApuWrite> apuWrites;
  uint64_t playStart = 0;
  uint16_t initAddress = 0;
  uint16_t playAddress = 0;
  std::array<uint8_t, 8> banks{};  // $5FF8-$5FFF

 private:
  static constexpr uint16_t kReturnAddress = 0x4100;  // unmapped: RTS lands here
  std::vector<uint8_t> data_;  // the file behind its 128-byte header
  std::array<uint8_t, 0x800> ram_{};
  std::array<uint8_t, 0x2000> wram_{};
};
