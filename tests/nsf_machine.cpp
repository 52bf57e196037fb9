#include "tests/nsf_machine.h"

#include <stdexcept>

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr int kBankBytes = 4096;

}  // namespace

NsfMachine::NsfMachine(std::vector<uint8_t> file) {
  if (file.size() < kHeaderBytes || file[0] != 'N' || file[1] != 'E' || file[2] != 'S' || file[3] != 'M' ||
      file[4] != 0x1A)
    throw std::runtime_error("not an NSF file");
  uint16_t load = uint16_t(file[8] | file[9] << 8);
  initAddress = uint16_t(file[10] | file[11] << 8);
  playAddress = uint16_t(file[12] | file[13] << 8);
  for (int i = 0; i < 8; i++) banks[i] = file[0x70 + i];
  bool banked = false;
  for (uint8_t b : banks) banked |= b != 0;
  if (!banked) throw std::runtime_error("only banked NSF files are supported");
  // Banked data starts (load & $FFF) bytes into its first bank.
  data_.assign(load & 0xFFF, 0);
  data_.insert(data_.end(), file.begin() + kHeaderBytes, file.end());
}

uint8_t NsfMachine::read(uint16_t address) {
  if (address < 0x2000) return ram_[address & 0x7FF];
  if (address >= 0x6000 && address < 0x8000) return wram_[address - 0x6000];
  if (address >= 0x8000) {
    size_t offset = size_t(banks[(address - 0x8000) / kBankBytes]) * kBankBytes + (address & 0xFFF);
    return offset < data_.size() ? data_[offset] : 0;
  }
  return 0;
}

void NsfMachine::write(uint16_t address, uint8_t value, uint64_t cycle) {
  if (address < 0x2000) {
    ram_[address & 0x7FF] = value;
  } else if (address >= 0x4000 && address <= 0x4017) {
    apuWrites.push_back({cycle, address, value});
  } else if (address >= 0x5FF8 && address <= 0x5FFF) {
    banks[address - 0x5FF8] = value;
  } else if (address >= 0x6000 && address < 0x8000) {
    wram_[address - 0x6000] = value;
  }
}

bool NsfMachine::init(uint8_t song, bool pal, uint64_t maxCycles) {
  cpu.a = song;
  cpu.x = pal ? 1 : 0;
  cpu.call(initAddress, kReturnAddress);
  uint64_t end = cpu.cycles + maxCycles;
  while (cpu.pc != kReturnAddress) {
    if (cpu.cycles >= end) return false;
    cpu.step();
  }
  return true;
}

void NsfMachine::startPlay() {
  cpu.call(playAddress, kReturnAddress);
  playStart = cpu.cycles;
}

void NsfMachine::runUntil(uint64_t cycle) {
  while (cpu.cycles < cycle && cpu.pc != kReturnAddress) cpu.step();
}
