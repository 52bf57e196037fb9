#include "tests/vrc6_machine.h"

#include <stdexcept>

namespace {
constexpr size_t kHeaderBytes = 16;
constexpr size_t kPrg16 = 16384;
constexpr size_t kPrg8 = 8192;
constexpr size_t kChr1 = 1024;
constexpr uint8_t kTimerEnable = 0x02;
constexpr uint8_t kTimerEnableAfterAck = 0x01;
constexpr uint8_t kTimerCycleMode = 0x04;
}  // namespace

Vrc6Machine::Vrc6Machine(std::vector<uint8_t> file, bool pal, bool timerWired)
    : ppu(pal), pal_(pal), timerWired_(timerWired) {
  if (file.size() < kHeaderBytes || file[0] != 'N' || file[1] != 'E' || file[2] != 'S' || file[3] != 0x1A)
    throw std::runtime_error("not an iNES file");
  const int mapper = (file[6] >> 4) | (file[7] & 0xF0);
  const size_t prgSize = file[4] * kPrg16;
  const size_t chrSize = file[5] * kPrg8;
  if (mapper != 24 || prgSize == 0 || file.size() != kHeaderBytes + prgSize + chrSize)
    throw std::runtime_error("not a mapper 24 image of whole banks");
  prg_.assign(file.begin() + kHeaderBytes, file.begin() + long(kHeaderBytes + prgSize));
  chr_.assign(file.begin() + long(kHeaderBytes + prgSize), file.end());
}

void Vrc6Machine::reset() {
  cpu.pc = uint16_t(read(0xFFFC) | read(0xFFFD) << 8);
  cpu.p |= Cpu6502::I;
}

uint8_t Vrc6Machine::read(uint16_t address) {
  if (address < 0x2000) return ram_[address & 0x7FF];
  if (address < 0x4000) {
    if (ppu.advance(cpu.cycles)) cpu.nmiPending = true;
    return ppu.read(address);
  }
  if (address < 0x8000) return 0;
  size_t offset;
  if (address < 0xC000)
    offset = prg16_ * kPrg16 + (address & 0x3FFF);
  else if (address < 0xE000)
    offset = prg8_ * kPrg8 + (address & 0x1FFF);
  else
    offset = prg_.size() - kPrg8 + (address & 0x1FFF);
  return prg_[offset % prg_.size()];
}

void Vrc6Machine::write(uint16_t address, uint8_t value, uint64_t cycle) {
  if (address < 0x2000) {
    ram_[address & 0x7FF] = value;
  } else if (address < 0x4000) {
    if (ppu.advance(cycle)) cpu.nmiPending = true;
    if (ppu.write(address, value)) cpu.nmiPending = true;
  } else if (address <= 0x4017) {
    apuWrites.push_back({cycle, ppu.frames(), address, value});
  } else if (address >= 0x8000) {
    writeMapper(address, value, cycle);
  }
}

void Vrc6Machine::writeMapper(uint16_t address, uint8_t value, uint64_t cycle) {
  switch (address & 0xF003) {
    case 0x8000: case 0x8001: case 0x8002: case 0x8003:
      prg16_ = value;
      return;
    case 0xC000: case 0xC001: case 0xC002: case 0xC003:
      prg8_ = value;
      return;
    case 0xD000: case 0xD001: case 0xD002: case 0xD003:
      chrBanks_[address & 3] = value;
      return;
    case 0xE000: case 0xE001: case 0xE002: case 0xE003:
      chrBanks_[4 + (address & 3)] = value;
      return;
    default:
      break;
  }
  if (!timerWired_) return;
  advanceTimer(cycle);
  switch (address & 0xF003) {
    case 0xF000:
      reload_ = value;
      break;
    case 0xF001:
      control_ = value;
      irqPending_ = false;
      if (value & kTimerEnable) {
        counting_ = false;
        remaining_ = 256 - reload_;
      }
      setCounting(cycle);
      break;
    case 0xF002:
      irqPending_ = false;
      control_ = uint8_t((control_ & ~kTimerEnable) | ((control_ & kTimerEnableAfterAck) << 1));
      setCounting(cycle);
      break;
    default:
      break;
  }
}

// A stopped counter keeps its count: it goes on from there when restarted.
void Vrc6Machine::setCounting(uint64_t cycle) {
  const bool on = (control_ & kTimerEnable) && (control_ & kTimerCycleMode);
  if (counting_ && !on) remaining_ = nextFire_ - cycle;
  if (!counting_ && on) nextFire_ = cycle + remaining_;
  counting_ = on;
}

void Vrc6Machine::advanceTimer(uint64_t cycle) {
  while (counting_ && nextFire_ <= cycle) {
    irqPending_ = true;
    ++timerInterrupts;
    nextFire_ += 256 - reload_;
  }
}

void Vrc6Machine::runUntil(uint64_t cycle) {
  while (cpu.cycles < cycle) {
    cpu.step();
    if (ppu.advance(cpu.cycles)) cpu.nmiPending = true;
    advanceTimer(cpu.cycles);
    cpu.irqLine = irqPending_;
  }
}

uint8_t Vrc6Machine::chrByte(uint16_t address) const {
  const size_t offset = chrBanks_[(address >> 10) & 7] * kChr1 + (address & 0x3FF);
  return chr_[offset % chr_.size()];
}
