// The pulse period reaches the chip's timer unchanged when the high byte
// moves through the sweep unit, on both pulses and in both directions, as an
// arpeggio across a high-byte boundary does every frame.
#include <gtest/gtest.h>

#include <vector>

#include "audio_test_support.h"
#include "playback/channel_update.h"

namespace {

int pulse = 0;
size_t frame = 0;
std::vector<int> periods;
std::vector<int> chipPeriods;

int chipPeriod() { return (pulse == 0 ? soundChip.pulse1 : soundChip.pulse2).period(); }

void writeFrame() {
  if (frame > 0 && frame <= periods.size()) chipPeriods.push_back(chipPeriod());
  if (frame < periods.size()) {
    apuWrite(0x4000 + 4 * pulse, 0xB0 | 15);
    writePulsePeriod(pulse, periods[frame]);
  }
  ++frame;
}

void idleSubStep() {}

class SweepTrickChipTest : public AudioTest, public ::testing::WithParamInterface<int> {};

TEST_P(SweepTrickChipTest, ChipTimerFollowsEveryWrittenPeriod) {
  pulse = GetParam();
  frame = 0;
  chipPeriods.clear();
  periods = {0x1FC, 0x201, 0x1F0, 0x1FC, 0x201, 0x1F0, 0x2FF, 0x300, 0x2FF, 0x0FF, 0x100, 0x0FF, 0x7FF, 0x6FF};
  app.player.channels[pulse].lastPeriod = -1;
  setPlayerRoutines(writeFrame, idleSubStep);
  renderSeconds(0.4);
  EXPECT_EQ(chipPeriods, periods);
}

INSTANTIATE_TEST_SUITE_P(BothPulses, SweepTrickChipTest, ::testing::Values(0, 1));

}  // namespace
