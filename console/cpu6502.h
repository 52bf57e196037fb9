// A cycle-counting 6502, the 2A03's core.
//
// Time is counted in CPU cycles since construction (`cycles`). step() runs
// one whole instruction and adds its exact length: page-crossing penalties of
// indexed reads, +1 for a taken branch and +1 more when it lands on another
// page. Bus accesses are stamped with the last cycle of their instruction,
// where loads and stores touch memory (the dummy accesses of
// read-modify-write instructions are not made). Like the 2A03, ADC and SBC
// ignore the D flag.
//
// Memory is what the machine maps: pages given to mapPage() (RAM) or
// mapReadPage() (ROM, writes still reach the bus) are accessed directly, every
// other address goes to the Bus. A machine remaps pages when it switches banks.
//
// Interrupts: as on the 2A03, an instruction samples the IRQ line and the I
// flag at the end of its second-to-last cycle (pollCycle()); a taken branch
// that stays on its page samples only after its first cycle, and CLI, SEI
// and PLP sample the I flag from before they change it. A machine sets
// irqLine to the line's state at pollCycle() after each step; step() then
// enters the interrupt (7 cycles) before the next instruction. The NMI input
// is an edge: whoever sees one sets nmiPending, and step() takes it (before a
// pending IRQ) and clears it.
//
// An undocumented opcode jams the CPU, as the KIL opcodes do a 2A03: it stays
// on that instruction (`jam` holds its address), and step() only lets time
// pass, 2 cycles a call, so a caller waiting for a cycle never hangs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace qc {

class Bus {
 public:
  virtual ~Bus() = default;
  virtual uint8_t read(uint16_t address, uint64_t cycle) = 0;
  virtual void write(uint16_t address, uint8_t value, uint64_t cycle) = 0;
};

class Cpu6502 {
 public:
  enum Flag : uint8_t { C = 0x01, Z = 0x02, I = 0x04, D = 0x08, B = 0x10, U = 0x20, V = 0x40, N = 0x80 };
  static constexpr int kPageBytes = 256;

  explicit Cpu6502(Bus& bus) : bus_(bus) {}

  // Page p is addresses p * 256 to p * 256 + 255; `memory` holds its 256 bytes.
  void mapPage(uint8_t page, uint8_t* memory);
  void mapReadPage(uint8_t page, const uint8_t* memory);
  void unmapPage(uint8_t page);

  // Runs one instruction (or takes a pending interrupt); returns its cycles.
  int step();
  // Sets pc to routine with a return address on the stack that makes its
  // final RTS land on returnAddress.
  void call(uint16_t routine, uint16_t returnAddress);
  // Reads memory as the CPU would, without touching devices' state beyond it.
  uint8_t peek(uint16_t address) { return read(address); }
  // The cycle at whose end the last step sampled the interrupt inputs.
  uint64_t pollCycle() const { return pollCycle_; }

  uint8_t a = 0, x = 0, y = 0, s = 0xFD, p = I | U;
  uint16_t pc = 0;
  uint64_t cycles = 0;
  bool irqLine = false;
  bool nmiPending = false;
  std::optional<uint16_t> jam;  // address of the undocumented opcode met

 private:
  uint8_t read(uint16_t address) {
    const uint8_t* page = readPages_[address >> 8];
    return page ? page[address & 0xFF] : bus_.read(address, accessCycle_);
  }
  void write(uint16_t address, uint8_t value) {
    uint8_t* page = writePages_[address >> 8];
    if (page) page[address & 0xFF] = value;
    else bus_.write(address, value, accessCycle_);
  }
  int execute(int operation, int addressing, int baseCycles);
  uint16_t read16(uint16_t address);
  uint16_t read16ZeroPage(uint8_t address);
  void push(uint8_t value);
  uint8_t pull();
  void setNZ(uint8_t value);
  void interrupt(uint16_t vector, bool brk);
  void branch(bool taken);
  void compare(uint8_t reg, uint8_t value);
  void adc(uint8_t value);

  Bus& bus_;
  std::array<const uint8_t*, 256> readPages_{};
  std::array<uint8_t*, 256> writePages_{};
  uint64_t accessCycle_ = 0;  // the running instruction's last cycle
  int extra_ = 0;             // penalty cycles of the running instruction
  bool shortPoll_ = false;    // a taken branch that stayed on its page
  uint64_t pollCycle_ = 0;
  bool maskedAtPoll_ = true;  // the I flag the last instruction sampled
};

}  // namespace qc
