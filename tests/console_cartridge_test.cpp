// The console's cartridge: VRC6 banking, the cycle-mode timer and the PPU
// stub, on tiny hand-made images, and what the readers refuse.
#include "console/cartridge_machine.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "console/nsf_file.h"
#include "console/vrc6_timer.h"

namespace qc {

namespace {

constexpr size_t kPrgBank = 16384;

// An iNES image of `banks` 16 KB PRG banks whose 8 KB halves start with
// their own number, one CHR bank whose 1 KB pieces start with theirs, and
// `code` at $E000 (the reset vector points there; IRQ and NMI vectors to
// $E100 and $E180).
InesFile rom(const std::vector<uint8_t>& file) {
  InesFile out;
  std::string error;
  EXPECT_TRUE(readInesFile(file, out, error)) << error;
  return out;
}

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
