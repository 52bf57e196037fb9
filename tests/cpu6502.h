// A cycle-counting 6502 (the 2A03's core) for checking our 6502 programs.
//
// Time is counted in CPU cycles since construction (`cycles`). step() runs
// one whole instruction and adds its exact length: page-crossing penalties of
// indexed reads, +1 for a taken branch and +1 more when it lands on another
// page. A write reaches the bus stamped with the cycle it happens on, the
// last cycle of its instruction (the dummy write of read-modify-write
// instructions is not emitted). Like the 2A03, ADC and SBC ignore the D flag.
//
// Memory is whatever the Bus maps: the NSF machine is one bus, a cartridge
// with its mapper another. A mapper that raises interrupts sets irqLine;
// step() takes the interrupt before the next instruction while I is clear.
// The NMI input is an edge: whoever sees one sets nmiPending, and step()
// takes it (before a pending IRQ) and clears it.
// Undocumented opcodes are programming errors here: step() throws.
#pragma once

#include <cstdint>

class Bus {
 public:
  virtual ~Bus() = default;
  virtual uint8_t read(uint16_t address) = 0;
  virtual void write(uint16_t address, uint8_t value, uint64_t cycle) = 0;
};

class Cpu6502 {
 public:
  enum Flag : uint8_t { C = 0x01, Z = 0x02, I = 0x04, D = 0x08, B = 0x10, U = 0x20, V = 0x40, N = 0x80 };

  explicit Cpu6502(Bus& bus) : bus_(bus) {}

  // Runs one instruction (or takes a pending interrupt); returns its cycles.
  int step();
  // Sets pc to routine with a return address on the stack that makes its
  // final RTS land on returnAddress.
  void call(uint16_t routine, uint16_t returnAddress);

  uint8_t a = 0, x = 0, y = 0, s = 0xFD, p = I | U;
  uint16_t pc = 0;
  uint64_t cycles = 0;
  bool irqLine = false;
  bool nmiPending = false;

 private:
  uint8_t read(uint16_t address) { return bus_.read(address); }
  void write(uint16_t address, uint8_t value);
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
  uint64_t writeCycle_ = 0;  // cycle stamped on writes of the running instruction
  int extra_ = 0;            // penalty cycles of the running instruction
};
