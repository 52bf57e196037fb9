// The console's 6502: cycle counts with their penalties, flags, and the
// quirks the NSF driver's timing proofs rely on.
#include "console/cpu6502.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace qc {

namespace {

struct FlatBus : Bus {
  std::array<uint8_t, 0x10000> memory{};
  std::vector<std::pair<uint16_t, uint64_t>> writes;  // address, cycle
  uint8_t read(uint16_t address, uint64_t) override { return memory[address]; }
  void write(uint16_t address, uint8_t value, uint64_t cycle) override {
    memory[address] = value;
    writes.push_back({address, cycle});
  }
};

class Cpu6502Test : public testing::Test {
 protected:
  // Places code at `at` and points the CPU there.
  void load(uint16_t at, std::initializer_list<uint8_t> code) {
    for (uint8_t b : code) bus.memory[at++] = b;
  }
  void start(uint16_t at) { cpu.pc = at; }
  FlatBus bus;
  Cpu6502 cpu{bus};
};

TEST_F(Cpu6502Test, IndexedReadsPayACycleOnlyAcrossAPage) {
  load(0x8000, {0xBD, 0x10, 0x20,    // LDA $2010,X
                0xBD, 0xF0, 0x20,    // LDA $20F0,X (crosses with X = $20)
                0x9D, 0x10, 0x20,    // STA $2010,X: stores always take 5
                0xB1, 0x40,          // LDA ($40),Y
                0xB1, 0x42,          // LDA ($42),Y (crosses)
                0x91, 0x42,          // STA ($42),Y: 6 regardless
                0xFE, 0xF0, 0x20});  // INC $20F0,X: 7 regardless
  bus.memory[0x40] = 0x00;
  bus.memory[0x41] = 0x30;
  bus.memory[0x42] = 0xF0;
  bus.memory[0x43] = 0x30;
  cpu.x = 0x20;
  cpu.y = 0x20;
  start(0x8000);
  for (int expected : {4, 5, 5, 5, 6, 6, 7}) EXPECT_EQ(cpu.step(), expected);
  EXPECT_EQ(cpu.cycles, 38u);
}

// Interrupts are sampled at the end of an instruction's second-to-last
// cycle, in a taken branch that stays on its page only after the first.
TEST_F(Cpu6502Test, BranchesCostTwoThreeOrFourCyclesAndSampleInterruptsEarlyOnTheirPage) {
  load(0x80F0, {0xD0, 0x00,          // BNE +0, taken, same page: cycles 0-2
                0xF0, 0x10,          // BEQ, not taken: 3-4
                0xD0, 0x20});        // BNE to $8116: taken across a page: 5-8
  cpu.p &= uint8_t(~Cpu6502::Z);
  start(0x80F0);
  EXPECT_EQ(cpu.step(), 3);
  EXPECT_EQ(cpu.pollCycle(), 0u);
  EXPECT_EQ(cpu.step(), 2);
  EXPECT_EQ(cpu.pollCycle(), 3u);
  EXPECT_EQ(cpu.step(), 4);
  EXPECT_EQ(cpu.pollCycle(), 7u);
  EXPECT_EQ(cpu.pc, 0x8116);
}

TEST_F(Cpu6502Test, WritesAreStampedWithTheLastCycleOfTheirInstruction) {
  load(0x8000, {0xEA, 0x8D, 0x11, 0x40, 0xEE, 0x00, 0x02});  // NOP; STA $4011; INC $0200
  start(0x8000);
  for (int i = 0; i < 3; i++) cpu.step();
  ASSERT_EQ(bus.writes.size(), 2u);
  EXPECT_EQ(bus.writes[0].second, 2u + 3);
  EXPECT_EQ(bus.writes[1].second, 6u + 5);
}

TEST_F(Cpu6502Test, IndirectJumpWrapsWithinThePointersPage) {
  load(0x8000, {0x6C, 0xFF, 0x10});
  bus.memory[0x10FF] = 0x34;
  bus.memory[0x1000] = 0x12;
  bus.memory[0x1100] = 0x99;
  start(0x8000);
  EXPECT_EQ(cpu.step(), 5);
  EXPECT_EQ(cpu.pc, 0x1234);
}

TEST_F(Cpu6502Test, InterruptLineIsTakenWhileIEnabled) {
  load(0x8000, {0x58, 0xEA});  // CLI; NOP
  load(0x9000, {0x40});        // RTI
  bus.memory[0xFFFE] = 0x00;
  bus.memory[0xFFFF] = 0x90;
  start(0x8000);
  cpu.irqLine = true;
  EXPECT_EQ(cpu.step(), 2);  // CLI samples the I flag it found set
  EXPECT_EQ(cpu.step(), 2);
  EXPECT_EQ(cpu.step(), 7);
  EXPECT_EQ(cpu.pc, 0x9000);
  EXPECT_TRUE(cpu.p & Cpu6502::I);
  cpu.irqLine = false;
  EXPECT_EQ(cpu.step(), 6);
  EXPECT_EQ(cpu.pc, 0x8002);
}

TEST_F(Cpu6502Test, NmiIsTakenOnceEvenWithIMaskedAndBeforeAnIrq) {
  load(0x8000, {0xEA, 0xEA});  // NOP; NOP with I set
  bus.memory[0xFFFA] = 0x00;
  bus.memory[0xFFFB] = 0xA0;
  bus.memory[0xFFFE] = 0x00;
  bus.memory[0xFFFF] = 0x90;
  start(0x8000);
  cpu.nmiPending = true;
  cpu.irqLine = true;
  EXPECT_EQ(cpu.step(), 7);
  EXPECT_EQ(cpu.pc, 0xA000);
  EXPECT_FALSE(cpu.nmiPending);
  EXPECT_EQ(bus.memory[0x01FB] & Cpu6502::B, 0) << "an interrupt pushes B clear";
  EXPECT_EQ(bus.memory[0x01FC], 0x00);
  EXPECT_EQ(bus.memory[0x01FD], 0x80);
}

TEST_F(Cpu6502Test, AnUndocumentedOpcodeJamsButTimeGoesOn) {
  load(0x8000, {0xEA, 0x02, 0xEA});
  start(0x8000);
  cpu.step();
  EXPECT_FALSE(cpu.jam);
  cpu.step();
  cpu.step();
  EXPECT_EQ(cpu.jam, 0x8001);
  EXPECT_EQ(cpu.pc, 0x8001);
  EXPECT_EQ(cpu.cycles, 6u);
}

TEST_F(Cpu6502Test, MappedPagesBypassTheBusAndReadOnlyPagesPassWritesOn) {
  std::array<uint8_t, 256> ram{}, rom{};
  rom[0x10] = 0x77;
  cpu.mapPage(0x02, ram.data());
  cpu.mapReadPage(0x90, rom.data());
  load(0x8000, {0xAD, 0x10, 0x90,    // LDA $9010
                0x8D, 0x05, 0x02,    // STA $0205
                0x8D, 0x10, 0x90});  // STA $9010
  start(0x8000);
  for (int i = 0; i < 3; i++) cpu.step();
  EXPECT_EQ(ram[5], 0x77);
  EXPECT_EQ(rom[0x10], 0x77);
  ASSERT_EQ(bus.writes.size(), 1u);
  EXPECT_EQ(bus.writes[0].first, 0x9010);
  cpu.unmapPage(0x02);
  EXPECT_EQ(cpu.peek(0x0205), 0) << "the bus again";
}

}  // namespace

}  // namespace qc
