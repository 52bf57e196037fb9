#include "console/nsf_machine.h"

#include "export/sample_chunks.h"

namespace qc {

namespace {

constexpr uint16_t kBankRegisters = 0x5FF8;
constexpr int kWindows = 8;
constexpr size_t kBank = kBankBytes;
constexpr int kPagesPerBank = int(kBank) / Cpu6502::kPageBytes;
constexpr int kFirstWindowPage = 0x80;
constexpr int kRamPages = 0x20;  // 2 KB mirrored up to $1FFF
constexpr int kWramPage = 0x60;
constexpr int kPlayerRegisters = 8;  // $5FF8-$5FFF
// A bank past the file's end reads as zeros.
const std::array<uint8_t, kBank> kEmptyBank{};

}  // namespace

NsfMachine::NsfMachine(NsfFile nsf) : file(std::move(nsf)) {
  banks_ = file.data;
  banks_.resize((banks_.size() + kBank - 1) / kBank * kBank, 0);
  for (int page = 0; page < kRamPages; ++page) cpu.mapPage(uint8_t(page), &ram_[size_t(page % 8) * 256]);
  for (int page = 0; page < 0x20; ++page) cpu.mapPage(uint8_t(kWramPage + page), &wram_[size_t(page) * 256]);
  for (int window = 0; window < kWindows; ++window)
    mapBank(window, file.banked ? file.banks[size_t(window)] : uint8_t(window));
}

void NsfMachine::mapBank(int window, uint8_t bank) {
  const size_t offset = size_t(bank) * kBank;
  const uint8_t* memory = offset < banks_.size() ? &banks_[offset] : kEmptyBank.data();
  for (int page = 0; page < kPagesPerBank; ++page)
    cpu.mapReadPage(uint8_t(kFirstWindowPage + window * kPagesPerBank + page), memory + page * Cpu6502::kPageBytes);
}

uint8_t NsfMachine::read(uint16_t, uint64_t) { return 0; }

void NsfMachine::write(uint16_t address, uint8_t value, uint64_t cycle) {
  if (address >= kApuFirstRegister && address <= kApuLastRegister) {
    apuWrites.push_back({cycle, address, value});
  } else if (file.banked && address >= kBankRegisters && address < kBankRegisters + kPlayerRegisters) {
    mapBank(address - kBankRegisters, value);
  }
}

bool NsfMachine::init(uint8_t song, uint64_t maxCycles) {
  cpu.a = song;
  cpu.x = file.pal ? 1 : 0;
  cpu.call(file.initAddress, kReturnAddress);
  runUntil(cpu.cycles + maxCycles);
  return idle();
}

void NsfMachine::startPlay() { cpu.call(file.playAddress, kReturnAddress); }

void NsfMachine::runUntil(uint64_t cycle) {
  while (cpu.cycles < cycle && !idle() && !cpu.jam) cpu.step();
}

}  // namespace qc
