// A song's cartridge image booted on the console: what it shows (the name
// lines, the standard it found, the warning when the mapper's timer
// interrupt does not work) and its raw samples (one byte to $4011 per timer
// interrupt, read across 8 KB banks, stopped or restarted at the end byte,
// at the editor's byte rate).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "console/cartridge_machine.h"
#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "export/rom_name_line.h"
#include "playback/audio_output.h"
#include "playback/note_tables.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "tests/example_songs.h"

namespace qc {

namespace {

std::unique_ptr<CartridgeMachine> bootCartridge(const Song& song, bool pal, bool timerWired = true) {
  InesFile rom;
  std::string error;
  EXPECT_TRUE(readInesFile(buildRomImage(song, kCartPlayerImage, kCartCharacterRom).bytes, rom, error)) << error;
  auto machine = std::make_unique<CartridgeMachine>(std::move(rom), pal, timerWired);
  machine->reset();
  return machine;
}

// Name-table row `row` as text: a font tile as its character (tile + 94),
// the empty tile 0 as '.', any other tile (the logo) as '#'.
std::string screenRow(const CartridgeMachine& machine, int row) {
  std::string text;
  for (int column = 0; column < 32; ++column) {
    const uint8_t tile = machine.ppu.vram[size_t(0x2000 + row * 32 + column)];
    const int c = (tile + 94) & 0xFF;
    text += tile == 0 ? '.' : c >= ' ' && c <= ']' ? char(c) : '#';
  }
  return text;
}

constexpr uint16_t kDac = 0x4011;
constexpr int kStartUpFrames = 8;
constexpr int kNameLinesAddress = 0x21A0;

class Cartridge : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { resetToProgramStart(); }
  bool pal() const { return GetParam(); }
};

TEST_P(Cartridge, ShowsTheFifteenNameLinesFrom21A0InItsUpperCaseFont) {
  Song song = exampleSong("effects.qcm");
  song.instrumentNames[3] = "Bass_2|a\\z~[";
  for (int i = 4; i < kInstrumentSlots; ++i)
    song.instrumentNames[i] = "Instrument number " + std::to_string(i) + " of many, cut";
  auto machine = bootCartridge(song, pal());
  machine->runFrames(kStartUpFrames);
  for (int i = 1; i < kInstrumentSlots; ++i) {
    const auto line = instrumentNameLine(song.instrumentNames[i]);
    const uint8_t* shown = &machine->ppu.vram[kNameLinesAddress + (i - 1) * kNameLineWidth];
    EXPECT_TRUE(std::equal(line.begin(), line.end(), shown)) << "instrument " << i;
  }
  EXPECT_EQ(screenRow(*machine, 13), " LEAD]1[X                       ");
  EXPECT_EQ(screenRow(*machine, 15), " BASS]2[A\\Z                     ") << "no '_', '|', '[' or '~' in the font";
  EXPECT_EQ(screenRow(*machine, 27), " INSTRUMENT NUMBER 15 OF MANY,  ") << "the first thirty characters";
  EXPECT_EQ(screenRow(*machine, 28), "................................");
}

TEST_P(Cartridge, ShowsTheStandardItFoundWhenTheTimerWorks) {
  auto machine = bootCartridge(exampleSong("effects.qcm"), pal());
  machine->runFrames(kStartUpFrames);
  EXPECT_EQ(screenRow(*machine, 8), "....QUILLCHANTER VRC6 PLAYER....");
  EXPECT_EQ(screenRow(*machine, 10), pal() ? "..............PAL..............." : "..............NTSC..............");
  EXPECT_EQ(machine->ppu.mask() & 0x08, 0x08) << "the background is shown";
}

TEST_P(Cartridge, WarnsAndPlaysOnWithoutSamplesWhenTheMapperHasNoTimer) {
  auto machine = bootCartridge(exampleSong("effects.qcm"), pal(), false);
  machine->runFrames(20);
  EXPECT_EQ(screenRow(*machine, 6), "...THE EMULATOR YOU ARE USING...");
  EXPECT_EQ(screenRow(*machine, 7), "....DOESN'T PROPERLY SUPPORT....");
  EXPECT_EQ(screenRow(*machine, 8), "...........VRC6 IRQ!............");
  EXPECT_EQ(screenRow(*machine, 9), "................................");
  EXPECT_EQ(screenRow(*machine, 10), ".....PLEASE USE A REAL NES,.....");
  EXPECT_EQ(screenRow(*machine, 11), "...NESTOPIA OR NINTENDULATOR....");
  size_t registers = 0;
  for (const auto& w : machine->apuWrites) {
    EXPECT_NE(w.address, kDac) << "no sample is streamed";
    registers += w.frame > 0;
  }
  EXPECT_GT(registers, 100u) << "the song still plays";
}

// Runs through the first 8 KB bank into the second.
constexpr size_t kLoopingLength = 9000;
constexpr double kCentsAllowed = 3.0;

std::vector<uint8_t> levels(size_t length, int seed) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = uint8_t((i * 7 + size_t(seed) * 13 + i / 251) & 0x7F);
  return data;
}

Song loopingSampleSong() {
  Song song;
  writeProgramStartInstruments(song);
  song.samples[1] = RawSample{levels(kLoopingLength, 2), true, "loop"};
  song.patterns[0].cells[kPcmTrack][0].note = 1;
  return song;
}

struct Stream {
  std::vector<uint8_t> bytes;
  std::vector<uint64_t> cycles;
};

// Runs until `bytes` bytes went to the DAC or `frames` frames passed.
Stream playStream(CartridgeMachine& machine, size_t bytes, int frames) {
  Stream s;
  for (int f = 0; f < frames && s.bytes.size() < bytes; ++f) {
    machine.runFrames(1);
    s.bytes.clear();
    s.cycles.clear();
    for (const auto& w : machine.apuWrites) {
      if (w.address != kDac) continue;
      s.bytes.push_back(w.value);
      s.cycles.push_back(w.cycle);
    }
  }
  return s;
}

// The bytes themselves, across banks and through loops, the verification compares.
TEST_P(Cartridge, ALoopingSampleStreamsAtTheEditorsRate) {
  const Song song = loopingSampleSong();
  auto machine = bootCartridge(song, pal());
  const size_t wanted = kLoopingLength + 500;
  const Stream s = playStream(*machine, wanted, 120);
  ASSERT_GE(s.bytes.size(), wanted);

  // A whole pass: the sample's bytes and the end byte's interrupt, which writes nothing.
  const double cyclesPerByte = double(s.cycles[kLoopingLength] - s.cycles[0]) / double(kLoopingLength + 1);
  const double editorBytesPerSecond = pcmStep(!pal()) * kSubStepsPerFrame * framesPerSecond(!pal());
  const double clock = pal() ? kPalCpuClock : kNtscCpuClock;
  EXPECT_LT(std::abs(1200 * std::log2(clock / cyclesPerByte / editorBytesPerSecond)), kCentsAllowed);
}

INSTANTIATE_TEST_SUITE_P(Standards, Cartridge, testing::Bool(),
                         [](const auto& info) { return info.param ? "Pal" : "Ntsc"; });

}  // namespace

}  // namespace qc
