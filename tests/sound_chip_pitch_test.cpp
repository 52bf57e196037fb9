#include "audio_test_support.h"

namespace {

double clockRate(bool ntsc) { return chipClockRate(ntsc); }

class ChipPitchTest : public AudioTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ChipPitchTest, PulseSoundsAtClockOverSixteenPeriods) {
  const bool ntsc = GetParam();
  for (int channel : {0, 1}) {
    for (int period : {0x0FD, 0x400, 0x050}) {
      reset(ntsc);
      playPulse(channel, period);
      const double expected = clockRate(ntsc) / (16.0 * (period + 1));
      EXPECT_NEAR(frequency(renderSeconds(1.0)), expected, expected * 0.002)
          << "pulse " << channel + 1 << " period " << period;
    }
  }
}

TEST_P(ChipPitchTest, TriangleSoundsAnOctaveBelowThePulse) {
  reset(GetParam());
  for (int period : {0x0FD, 0x2A0}) {
    playTriangle(period);
    const double expected = clockRate(GetParam()) / (32.0 * (period + 1));
    EXPECT_NEAR(frequency(renderSeconds(1.0)), expected, expected * 0.002) << "period " << period;
  }
}

TEST_P(ChipPitchTest, MetronomePulseClicksNearOneKilohertzAndHalfThat) {
  const bool ntsc = GetParam();
  reset(ntsc);
  const int bar = ntsc ? 113 : 105;
  for (int period : {bar, 2 * bar}) {
    write(0x9000, 0x7F);  // duty 8 of 16, volume 15
    write(0x9001, uint8_t(period & 0xFF));
    write(0x9002, uint8_t(0x80 | period >> 8));
    const double expected = clockRate(ntsc) / (16.0 * (period + 1));
    EXPECT_NEAR(frequency(renderSeconds(0.5)), expected, expected * 0.002) << "period " << period;
  }
  EXPECT_NEAR(clockRate(ntsc) / (16.0 * (bar + 1)), ntsc ? 981.2 : 980.3, 0.05);
}

TEST_P(ChipPitchTest, SawtoothRepeatsEveryFourteenPeriods) {
  reset(GetParam());
  write(0xB000, 0x2A);
  write(0xB001, 0x80);
  write(0xB002, 0x80);
  const double expected = clockRate(GetParam()) / (14.0 * 0x81);
  EXPECT_NEAR(frequency(renderSeconds(1.0)), expected, expected * 0.002);
}

INSTANTIATE_TEST_SUITE_P(BothStandards, ChipPitchTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ntsc" : "Pal"; });

}  // namespace
