// The console's parts: the 6502 (cycle counts with their penalties, flags,
// and the quirks the NSF driver's timing proofs rely on), the cartridge's
// VRC6 banking, cycle-mode timer and PPU stub on tiny hand-made images, and
// what the file readers refuse.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "console/cartridge_machine.h"
#include "console/cpu6502.h"
#include "console/nsf_file.h"
#include "console/vrc6_timer.h"

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
  // Places code or data at `at`.
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
  load(0x40, {0x00, 0x30, 0xF0, 0x30});  // the pointers $3000 and $30F0
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
  load(0xFFFE, {0x00, 0x90});  // IRQ vector
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
  load(0xFFFA, {0x00, 0xA0, 0x00, 0x00, 0x00, 0x90});  // NMI, reset and IRQ vectors
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

constexpr size_t kPrgBank = 16384;

InesFile rom(const std::vector<uint8_t>& file) {
  InesFile out;
  std::string error;
  EXPECT_TRUE(readInesFile(file, out, error)) << error;
  return out;
}

// An iNES image of `banks` 16 KB PRG banks whose 8 KB halves start with
// their own number, one CHR bank whose 1 KB pieces start with theirs, and
// `code` at $E001 (the reset vector points there; IRQ and NMI vectors to
// $E100 and $E180).
std::vector<uint8_t> image(int banks, std::initializer_list<uint8_t> code) {
  std::vector<uint8_t> file = {'N', 'E', 'S', 0x1A, uint8_t(banks), 1, 0x80, 0x10, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<uint8_t> prg(size_t(banks) * kPrgBank, 0xEA);
  for (size_t half = 0; half < prg.size() / 8192; ++half) prg[half * 8192] = uint8_t(half);
  const size_t last = prg.size() - 8192;
  size_t at = last + 1;
  for (uint8_t b : code) prg[at++] = b;
  prg[last + 0x100] = 0x40;  // IRQ: RTI
  prg[last + 0x180] = 0x40;  // NMI: RTI
  auto vector = [&](uint16_t where, uint16_t to) {
    prg[last + (where - 0xE000)] = uint8_t(to);
    prg[last + (where - 0xE000) + 1] = uint8_t(to >> 8);
  };
  vector(0xFFFA, 0xE180);
  vector(0xFFFC, 0xE001);
  vector(0xFFFE, 0xE100);
  file.insert(file.end(), prg.begin(), prg.end());
  std::vector<uint8_t> chr(8192, 0);
  for (int k = 0; k < 8; ++k) chr[size_t(k) * 1024] = uint8_t(0x40 + k);
  file.insert(file.end(), chr.begin(), chr.end());
  return file;
}

TEST(CartridgeMachine, BanksWrapAtTheRomSizeAndTheLast8KIsFixed) {
  CartridgeMachine m(rom(image(4, {})), true);
  m.write(0x8000, 2, 0);
  m.write(0xC003, 254, 0);  // the second-to-last 8 KB of a power-of-two ROM
  EXPECT_EQ(m.cpu.peek(0x8000), 4);
  EXPECT_EQ(m.cpu.peek(0xA000), 5);
  EXPECT_EQ(m.cpu.peek(0xC000), 6);
  EXPECT_EQ(m.cpu.peek(0xE000), 7);
  m.write(0xD002, 5, 0);
  m.write(0xE001, 0, 0);
  EXPECT_EQ(m.chrByte(0x0800), 0x45);
  EXPECT_EQ(m.chrByte(0x1400), 0x40);
}

TEST(ConsoleFiles, ReadersRefuseWhatTheConsoleCannotPlayWithOneLine) {
  InesFile cartridge;
  NsfFile nsf;
  std::string error;
  EXPECT_FALSE(readInesFile(std::vector<uint8_t>(16, 0), cartridge, error));
  EXPECT_EQ(error, "not an iNES file");
  std::vector<uint8_t> other = image(2, {});
  other[6] = 0x40;  // mapper 4
  other[7] = 0;
  EXPECT_FALSE(readInesFile(other, cartridge, error));
  EXPECT_EQ(error, "an iNES file for mapper 4; the console has the VRC6 (mapper 24)");
  other = image(2, {});
  other.pop_back();
  EXPECT_FALSE(readInesFile(other, cartridge, error));
  EXPECT_EQ(error, "the iNES file's size does not match the ROM sizes in its header");

  std::vector<uint8_t> header(128, 0);
  EXPECT_FALSE(readNsfFile(header, nsf, error));
  EXPECT_EQ(error, "not an NSF file");
  const char magic[] = "NESM\x1A";
  std::copy(magic, magic + 5, header.begin());
  header[6] = 1;
  header[9] = header[11] = header[13] = 0x80;
  EXPECT_TRUE(readNsfFile(header, nsf, error)) << error;
  header[123] = 0x20;  // a sound chip of the expansion port
  EXPECT_FALSE(readNsfFile(header, nsf, error));
  EXPECT_EQ(error, "the NSF file needs expansion sound chips, which the console does not have");
}

TEST(Vrc6Timer, CountsFromTheControlWriteAndAcknowledgeKeepsOrRestartsIt) {
  Vrc6Timer timer;
  timer.write(0, 0x40, 0);
  timer.write(1, 0x06, 10);  // cycle mode, enabled: the count starts now
  timer.runUntil(10 + 191);
  EXPECT_FALSE(timer.interruptAsserted());
  timer.runUntil(10 + 192);
  EXPECT_TRUE(timer.interruptAsserted());
  EXPECT_FALSE(timer.assertedAt(10 + 193)) << "the line falls two cycles after the wrap";
  EXPECT_TRUE(timer.assertedAt(10 + 194));
  timer.runUntil(10 + 192 * 3 + 191);
  EXPECT_EQ(timer.interrupts, 3u) << "the count runs on without an acknowledge";

  timer.write(1, 0x06, 900);  // a rewrite acknowledges and restarts the count
  EXPECT_FALSE(timer.interruptAsserted());
  EXPECT_EQ(timer.interrupts, 4u);
  timer.runUntil(900 + 191);
  EXPECT_EQ(timer.interrupts, 4u);
  timer.runUntil(900 + 192);
  EXPECT_EQ(timer.interrupts, 5u);

  // "Enable after acknowledge": $F002 keeps it counting from where it was.
  timer.write(1, 0x07, 2000);
  timer.write(2, 0, 2100);
  timer.write(1, 0x05, 2150);  // disabled: the count stops 42 cycles short
  timer.write(2, 0, 2160);     // and goes on from there
  const uint64_t before = timer.interrupts;
  timer.runUntil(2160 + 41);
  EXPECT_EQ(timer.interrupts, before);
  timer.runUntil(2160 + 42);
  EXPECT_EQ(timer.interrupts, before + 1);
}

TEST(Vrc6Timer, ScanlineModeCountsThroughThePrescalerRestartedByTheControlWrite) {
  Vrc6Timer timer;
  timer.write(0, 0xFE, 0);
  timer.write(1, 0x02, 0);  // two counts: 341 / 3 cycles each, 227.33 on average
  timer.runUntil(50);
  timer.write(1, 0x02, 100);  // the prescaler starts again
  timer.runUntil(100 + 227);
  EXPECT_EQ(timer.interrupts, 0u);
  timer.runUntil(100 + 228);
  EXPECT_EQ(timer.interrupts, 1u);
  timer.runUntil(100 + 228 + 227);
  EXPECT_EQ(timer.interrupts, 2u) << "the next two counts take 227 cycles";
}

TEST(CartridgeMachine, TakesTheTimerInterruptAfterTheInstructionThatSeesTheLine) {
  // CLI, then a jump to itself: 3 cycles a pass, the line sampled on the second.
  CartridgeMachine m(rom(image(2, {0x58, 0x4C, 0x02, 0xE0})), true);
  m.reset();
  m.write(0xF000, 0x3E, 0);
  m.write(0xF001, 0x06, 0);  // wraps on cycle 194, the line low from 196
  m.runUntil(197);  // the pass on 194-196 sampled on 195: too early
  EXPECT_FALSE(m.cpu.irqLine);
  m.runUntil(200);  // the pass on 197-199 sampled on 198
  EXPECT_EQ(m.cpu.pc, 0xE002);
  EXPECT_TRUE(m.cpu.irqLine) << "held until acknowledged";
  m.runUntil(201);
  EXPECT_EQ(m.cpu.pc, 0xE100) << "in the handler";
  EXPECT_EQ(m.cpu.cycles, 207u);
}

TEST(CartridgeMachine, VblankFlagReadClearsAndNmiFollowsTheFrameLength) {
  for (const bool pal : {true, false}) {
    PpuStub ppu(pal);
    const uint64_t frame2 = pal ? 66495 : 59561;  // two frames, in cycles
    EXPECT_FALSE(ppu.advance(frame2 / 2 - 1));
    EXPECT_EQ(ppu.read(0x2002), 0x00);
    EXPECT_FALSE(ppu.advance(frame2 / 2)) << "NMI is off";
    EXPECT_EQ(ppu.read(0x2002), 0x80);
    EXPECT_EQ(ppu.read(0x2002), 0x00) << "reading clears the flag";
    ppu.write(0x2000, 0x80);
    EXPECT_TRUE(ppu.advance(frame2));
    EXPECT_EQ(ppu.frames(), 2u);
    EXPECT_FALSE(ppu.advance(frame2 + 1));
    EXPECT_FALSE(ppu.write(0x2000, 0x80)) << "already on";
    EXPECT_EQ(ppu.read(0x2002), 0x80);
    ppu.advance(frame2 * 10 + 8000);
    EXPECT_EQ(ppu.read(0x2002), 0x00) << "the vertical blank ended";
  }
}

}  // namespace

}  // namespace qc
