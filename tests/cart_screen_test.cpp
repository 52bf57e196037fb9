// What the cartridge shows: the name lines, the standard it found, and the
// warning when the mapper's timer interrupt does not work.
#include <gtest/gtest.h>

#include "export/rom_name_line.h"
#include "song/app_state.h"
#include "tests/cart_run.h"
#include "tests/cart_songs.h"

namespace {

constexpr int kStartUpFrames = 8;
constexpr int kNameLinesAddress = 0x21A0;

class CartridgeScreen : public testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
};

TEST_F(CartridgeScreen, ShowsTheFifteenNameLinesFrom21A0) {
  Song song = effectsSong();
  for (int i = 3; i < kInstrumentSlots; ++i) song.instrumentNames[i] = "Instrument number " + std::to_string(i) + " of many, cut";
  auto machine = bootCartridge(song, VideoStandard::kPal);
  machine->runFrames(kStartUpFrames);
  for (int i = 1; i < kInstrumentSlots; ++i) {
    const auto line = instrumentNameLine(song.instrumentNames[i]);
    const uint8_t* shown = &machine->ppu.vram[kNameLinesAddress + (i - 1) * kNameLineWidth];
    EXPECT_TRUE(std::equal(line.begin(), line.end(), shown)) << "instrument " << i;
  }
  EXPECT_EQ(screenRow(*machine, 13), " LEAD]1[X                       ");
  EXPECT_EQ(screenRow(*machine, 27), " INSTRUMENT NUMBER 15 OF MANY,  ");
  EXPECT_EQ(screenRow(*machine, 28), "................................");
}

TEST_F(CartridgeScreen, ShowsTheStandardItFoundWhenTheTimerWorks) {
  for (VideoStandard standard : {VideoStandard::kPal, VideoStandard::kNtsc}) {
    auto machine = bootCartridge(effectsSong(), standard);
    machine->runFrames(kStartUpFrames);
    EXPECT_EQ(screenRow(*machine, 8), "....QUILLCHANTER VRC6 PLAYER....");
    EXPECT_EQ(screenRow(*machine, 10), standard == VideoStandard::kPal ? "..............PAL..............."
                                                                       : "..............NTSC..............");
    EXPECT_EQ(machine->ppu.mask() & 0x08, 0x08) << "the background is shown";
  }
}

TEST_F(CartridgeScreen, WarnsAndPlaysOnWithoutSamplesWhenTheMapperHasNoTimer) {
  for (VideoStandard standard : {VideoStandard::kPal, VideoStandard::kNtsc}) {
    Song song = effectsSong();
    auto machine = bootCartridge(song, standard, false);
    const std::vector<FrameWrites> frames = cartridgeFrames(*machine, 20);
    EXPECT_EQ(screenRow(*machine, 6), "...THE EMULATOR YOU ARE USING...");
    EXPECT_EQ(screenRow(*machine, 7), "....DOESN'T PROPERLY SUPPORT....");
    EXPECT_EQ(screenRow(*machine, 8), "...........VRC6 IRQ!............");
    EXPECT_EQ(screenRow(*machine, 9), "................................");
    EXPECT_EQ(screenRow(*machine, 10), ".....PLEASE USE A REAL NES,.....");
    EXPECT_EQ(screenRow(*machine, 11), "...NESTOPIA OR NINTENDULATOR....");
    EXPECT_EQ(frames, referenceFrames(song, standard, 20)) << "the song still plays";
    for (const auto& w : machine->apuWrites) EXPECT_NE(w.address, 0x4011) << "no sample is streamed";
  }
}

}  // namespace
