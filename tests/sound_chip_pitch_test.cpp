#include "audio_test_support.h"

namespace qc {

namespace {

class ChipPitchTest : public AudioTest, public ::testing::WithParamInterface<bool> {
 protected:
  void expectPitch(double cycleClocks, const char* what) {
    const double expected = chipClockRate(GetParam()) / cycleClocks;
    EXPECT_NEAR(frequency(renderSeconds(1.0)), expected, expected * 0.002) << what;
  }
};

TEST_P(ChipPitchTest, EveryOscillatorAtItsPeriod) {
  for (int channel : {0, 1}) {
    for (int period : {0x050, 0x400}) {
      reset(GetParam());
      playPulse(channel, period);
      expectPitch(16.0 * (period + 1), channel == 0 ? "pulse 1" : "pulse 2");
    }
  }
  reset(GetParam());
  playTriangle(0x2A0);
  expectPitch(32.0 * 0x2A1, "triangle: an octave below the pulse");
  reset(GetParam());
  write(0xB000, 0x2A);
  write(0xB001, 0x80);
  write(0xB002, 0x80);
  expectPitch(14.0 * 0x81, "sawtooth: fourteen periods a cycle");
  // The metronome's bar click, near one kilohertz in both standards.
  const int click = GetParam() ? 113 : 105;
  reset(GetParam());
  write(0x9000, 0x7F);  // duty 8 of 16, volume 15
  write(0x9001, uint8_t(click));
  write(0x9002, 0x80);
  expectPitch(16.0 * (click + 1), "metronome");
}

INSTANTIATE_TEST_SUITE_P(BothStandards, ChipPitchTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ntsc" : "Pal"; });

}  // namespace

}  // namespace qc
