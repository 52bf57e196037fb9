#include "console/cartridge_machine.h"

namespace qc {

namespace {

constexpr size_t kPrg16 = 16384;
constexpr size_t kPrg8 = 8192;
constexpr size_t kChr1 = 1024;
constexpr int kPage = Cpu6502::kPageBytes;
constexpr int kRamPages = 0x20;  // 2 KB mirrored up to $1FFF
constexpr uint16_t kPpuEnd = 0x4000;
constexpr uint8_t kPrg16Page = 0x80;
constexpr uint8_t kPrg8Page = 0xC0;
constexpr uint8_t kFixedPage = 0xE0;

}  // namespace

CartridgeMachine::CartridgeMachine(InesFile cartridge, bool pal, bool timerWired)
    : ppu(pal), timerWired_(timerWired), rom_(std::move(cartridge)) {
  for (int page = 0; page < kRamPages; ++page) cpu.mapPage(uint8_t(page), &ram_[size_t(page % 8) * kPage]);
  mapPrg(kPrg16Page, 0, int(kPrg16) / kPage);
  mapPrg(kPrg8Page, 0, int(kPrg8) / kPage);
  mapPrg(kFixedPage, rom_.prg.size() - kPrg8, int(kPrg8) / kPage);
}

void CartridgeMachine::mapPrg(uint8_t firstPage, size_t offset, int pages) {
  offset %= rom_.prg.size();
  for (int page = 0; page < pages; ++page) cpu.mapReadPage(uint8_t(firstPage + page), &rom_.prg[offset + size_t(page * kPage)]);
}

void CartridgeMachine::reset() {
  cpu.pc = uint16_t(cpu.peek(0xFFFC) | cpu.peek(0xFFFD) << 8);
  cpu.p |= Cpu6502::I;
}

void CartridgeMachine::catchUp(uint64_t cycle) {
  if (ppu.advance(cycle)) cpu.nmiPending = true;
  nextEvent_ = ppu.nextVblank();
}

uint8_t CartridgeMachine::read(uint16_t address, uint64_t cycle) {
  if (address < kPpuEnd) {
    catchUp(cycle);
    return ppu.read(address);
  }
  return 0;
}

void CartridgeMachine::write(uint16_t address, uint8_t value, uint64_t cycle) {
  if (address < kPpuEnd) {
    catchUp(cycle);
    if (ppu.write(address, value)) cpu.nmiPending = true;
  } else if (address <= kApuLastRegister) {
    apuWrites.push_back({cycle, ppu.frames(), address, value});
  } else if (address >= 0x8000) {
    writeMapper(address, value, cycle);
  }
}

void CartridgeMachine::writeMapper(uint16_t address, uint8_t value, uint64_t cycle) {
  const int port = address & 3;
  switch (address & 0xF000) {
    case 0x8000:
      mapPrg(kPrg16Page, value * kPrg16, int(kPrg16) / kPage);
      break;
    case 0xC000:
      mapPrg(kPrg8Page, value * kPrg8, int(kPrg8) / kPage);
      break;
    case 0xD000:
      chrBanks_[size_t(port)] = value;
      break;
    case 0xE000:
      chrBanks_[size_t(4 + port)] = value;
      break;
    case 0xF000:
      if (!timerWired_) break;
      timer.write(port, value, cycle);
      break;
    default:
      break;
  }
}

void CartridgeMachine::runUntil(uint64_t cycle) {
  while (cpu.cycles < cycle && !cpu.jam) {
    cpu.step();
    if (timerWired_) {
      timer.runUntil(cpu.cycles - 1);
      cpu.irqLine = timer.assertedAt(cpu.pollCycle());
    }
    if (cpu.cycles >= nextEvent_) catchUp(cpu.cycles);
  }
}

uint8_t CartridgeMachine::chrByte(uint16_t address) const {
  if (rom_.chr.empty()) return 0;
  const size_t offset = chrBanks_[(address >> 10) & 7] * kChr1 + (address & 0x3FF);
  return rom_.chr[offset % rom_.chr.size()];
}

}  // namespace qc
