// A console with a VRC6 cartridge (iNES mapper 24) around the CPU: 2 KB of
// RAM, the PPU stub, every write to $4000-$4017 logged with its cycle and
// frame, and the mapper:
//   $8000-$8003  16 KB PRG bank at $8000      $C000-$C003  8 KB PRG bank at $C000
//   $D000-$D003  1 KB CHR banks 0-3           $E000-$E003  1 KB CHR banks 4-7
//   $F000-$F002  the timer interrupt (vrc6_timer.h)
//   $E000-$FFFF  the last 8 KB of PRG, fixed
// Bank numbers wrap at the ROM's size, so with a power-of-two PRG ROM bank
// 254 is the second-to-last 8 KB. A machine built without the timer, as
// some emulators play mapper 24, ignores $F000-$F002.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "console/console_write.h"
#include "console/cpu6502.h"
#include "console/ines_file.h"
#include "console/ppu_stub.h"
#include "console/vrc6_timer.h"

namespace qc {

class CartridgeMachine : public Bus {
 public:
  CartridgeMachine(InesFile cartridge, bool pal, bool timerWired = true);
  CartridgeMachine(const CartridgeMachine&) = delete;
  CartridgeMachine& operator=(const CartridgeMachine&) = delete;

  uint8_t read(uint16_t address, uint64_t cycle) override;
  void write(uint16_t address, uint8_t value, uint64_t cycle) override;

  // Pulls the reset line: the CPU starts at the reset vector.
  void reset();
  // Runs whole instructions until the CPU's clock reaches `cycle` or it jams.
  void runUntil(uint64_t cycle);
  void runFrames(uint64_t count) { runUntil(cpu.cycles + count * ppu.cyclesPerFrame()); }

  // A CHR byte through the 1 KB banks, at PPU address $0000-$1FFF.
  uint8_t chrByte(uint16_t address) const;
  // A byte of CPU RAM ($0000-$07FF).
  uint8_t ramByte(uint16_t address) const { return ram_[address & 0x7FF]; }

  struct LoggedWrite {
    uint64_t cycle;
    uint64_t frame;  // vertical blanks before it
    uint16_t address;
    uint8_t value;
  };

  Cpu6502 cpu{*this};
  PpuStub ppu;
  Vrc6Timer timer;
  std::vector<LoggedWrite> apuWrites;

 private:
  void writeMapper(uint16_t address, uint8_t value, uint64_t cycle);
  void mapPrg(uint8_t firstPage, size_t offset, int pages);
  void catchUp(uint64_t cycle);

  bool timerWired_;
  InesFile rom_;
  std::array<uint8_t, 0x800> ram_{};
  std::array<uint8_t, 8> chrBanks_{};
  uint64_t nextEvent_ = 0;  // the earliest cycle at which the PPU has news
};

}  // namespace qc
