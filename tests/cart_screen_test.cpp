// What the cartridge shows: the name lines, the standard it found, and the
// warning when the mapper's timer interrupt does not work.
#include <gtest/gtest.h>

#include "export/rom_name_line.h"
#include "song/app_state.h"
#include "tests/cartridge_boot.h"
#include "tests/example_songs.h"

namespace qc {

namespace {

constexpr int kStartUpFrames = 8;
constexpr int kNameLinesAddress = 0x21A0;

class CartridgeScreen : public testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
};

TEST_F(CartridgeScreen, ShowsTheFifteenNameLinesFrom21A0InItsUpperCaseFont) {
  Song song = exampleSong("effects.qcm");
  song.instrumentNames[3] = "Bass_2|a\\z~[";
  for (int i = 4; i < kInstrumentSlots; ++i)
    song.instrumentNames[i] = "Instrument number " + std::to_string(i) + " of many, cut";
  auto machine = bootCartridge(song, true);
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

TEST_F(CartridgeScreen, ShowsTheStandardItFoundWhenTheTimerWorks) {
  for (const bool pal : {true, false}) {
    auto machine = bootCartridge(exampleSong("effects.qcm"), pal);
    machine->runFrames(kStartUpFrames);
    EXPECT_EQ(screenRow(*machine, 8), "....QUILLCHANTER VRC6 PLAYER....");
    EXPECT_EQ(screenRow(*machine, 10), pal ? "..............PAL..............." : "..............NTSC..............");
    EXPECT_EQ(machine->ppu.mask() & 0x08, 0x08) << "the background is shown";
  }
}

TEST_F(CartridgeScreen, WarnsAndPlaysOnWithoutSamplesWhenTheMapperHasNoTimer) {
  for (const bool pal : {true, false}) {
    auto machine = bootCartridge(exampleSong("effects.qcm"), pal, false);
    machine->runFrames(20);
    EXPECT_EQ(screenRow(*machine, 6), "...THE EMULATOR YOU ARE USING...");
    EXPECT_EQ(screenRow(*machine, 7), "....DOESN'T PROPERLY SUPPORT....");
    EXPECT_EQ(screenRow(*machine, 8), "...........VRC6 IRQ!............");
    EXPECT_EQ(screenRow(*machine, 9), "................................");
    EXPECT_EQ(screenRow(*machine, 10), ".....PLEASE USE A REAL NES,.....");
    EXPECT_EQ(screenRow(*machine, 11), "...NESTOPIA OR NINTENDULATOR....");
    size_t registers = 0;
    for (const auto& w : machine->apuWrites) {
      EXPECT_NE(w.address, 0x4011) << "no sample is streamed";
      registers += w.frame > 0;
    }
    EXPECT_GT(registers, 100u) << "the song still plays";
  }
}

}  // namespace

}  // namespace qc
