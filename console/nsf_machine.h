// An NSF player's machine around the console's CPU, as the NSF format
// defines it: 2 KB of RAM (mirrored to $1FFF), 8 KB of RAM at $6000, and the
// bank registers $5FF8-$5FFF, each mapping a 4 KB bank of the file's data
// into $8000 + n * $1000 (fixed banks 0-7 for a file without bank
// switching). Every write to $4000-$4017 is logged with its cycle.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "console/console_write.h"
#include "console/cpu6502.h"
#include "console/nsf_file.h"

namespace qc {

class NsfMachine : public Bus {
 public:
  explicit NsfMachine(NsfFile file);
  NsfMachine(const NsfMachine&) = delete;
  NsfMachine& operator=(const NsfMachine&) = delete;

  uint8_t read(uint16_t address, uint64_t cycle) override;
  void write(uint16_t address, uint8_t value, uint64_t cycle) override;

  // Runs init for song (0-based) to its RTS; false when it takes longer
  // than maxCycles or jams.
  bool init(uint8_t song, uint64_t maxCycles);
  // Calls play at the current cycle.
  void startPlay();
  // Runs until the CPU's clock reaches `cycle`, play returns, or the CPU jams.
  void runUntil(uint64_t cycle);
  // True while no routine runs: init or play has returned.
  bool idle() const { return cpu.pc == kReturnAddress; }

  Cpu6502 cpu{*this};
  std::vector<ConsoleWrite> apuWrites;
  const NsfFile file;

 private:
  static constexpr uint16_t kReturnAddress = 0x4100;  // no memory: RTS lands here
  void mapBank(int window, uint8_t bank);

  std::array<uint8_t, 0x800> ram_{};
  std::array<uint8_t, 0x2000> wram_{};
  std::vector<uint8_t> banks_;  // the file's data padded to whole 4 KB banks
};

}  // namespace qc
