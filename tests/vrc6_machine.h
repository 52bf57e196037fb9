// A console with a VRC6 cartridge (iNES mapper 24) around the test CPU: 2 KB
// of RAM, the PPU stub, every write to $4000-$4017 logged with its cycle and
// frame, and the mapper:
//   $8000-$8003  16 KB PRG bank at $8000      $C000-$C003  8 KB PRG bank at $C000
//   $D000-$D003  1 KB CHR banks 0-3           $E000-$E003  1 KB CHR banks 4-7
//   $F000 timer reload value   $F001 timer control   $F002 acknowledge
//   $E000-$FFFF  the last 8 KB of PRG, fixed
// Bank numbers wrap at the ROM's size, so with a power-of-two PRG ROM bank
// 254 is the second-to-last 8 KB.
//
// The timer in cycle mode counts every CPU cycle, with no prescaler: a $F001
// write with the enable bit (1) loads the counter from the reload value and
// drops a pending interrupt; the counter counts up and, clocked at $FF,
// reloads and raises the interrupt, so it fires every 256 - reload cycles.
// $F002 drops a pending interrupt and copies control bit 0 into the enable
// bit. Scanline mode (control bit 2 clear) is not modelled: the timer stays
// still. A machine built without the timer ignores $F000-$F002.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tests/cpu6502.h"
#include "tests/ppu_stub.h"

class Vrc6Machine : public Bus {
 public:
  // `file` is an iNES image; throws std::runtime_error when it is not one
  // for mapper 24 with whole PRG and CHR banks.
  Vrc6Machine(std::vector<uint8_t> file, bool pal, bool timerWired = true);

  uint8_t read(uint16_t address) override;
  void write(uint16_t address, uint8_t value, uint64_t cycle) override;

  // Pulls the reset line: the CPU starts at the reset vector.
  void reset();
  // Runs whole instructions until the CPU's clock reaches `cycle`.
  void runUntil(uint64_t cycle);
  void runFrames(uint64_t count) { runUntil(cpu.cycles + count * (pal_ ? 33248 : 29781)); }

  // A CHR byte through the 1 KB banks, at PPU address $0000-$1FFF.
  uint8_t chrByte(uint16_t address) const;

  struct LoggedWrite {
    uint64_t cycle;
    uint64_t frame;  // vertical blanks before it
    uint16_t address;
    uint8_t value;
  };

  Cpu6502 cpu{*this};
  PpuStub ppu;
  std::vector<LoggedWrite> apuWrites;
  uint64_t timerInterrupts = 0;

 private:
  void writeMapper(uint16_t address, uint8_t value, uint64_t cycle);
  void advanceTimer(uint64_t cycle);
  void setCounting(uint64_t cycle);

  bool pal_;
  bool timerWired_;
  std::vector<uint8_t> prg_;
  std::vector<uint8_t> chr_;
  std::array<uint8_t, 0x800> ram_{};
  uint8_t prg16_ = 0;
  uint8_t prg8_ = 0;
  std::array<uint8_t, 8> chrBanks_{};

  uint8_t reload_ = 0;
  uint8_t control_ = 0;
  bool counting_ = false;   // enabled and in cycle mode
  uint64_t nextFire_ = 0;   // while counting: the cycle at which the counter next wraps
  uint64_t remaining_ = 0;  // while stopped: cycles it still needs to wrap
  bool irqPending_ = false;
};
