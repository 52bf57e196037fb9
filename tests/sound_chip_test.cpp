#include "audio_test_support.h"

namespace {

using ChipTest = AudioTest;

// Normalised autocorrelation at the best lag within lag ± 2.
double periodicity(const Samples& s, size_t from, double lag) {
  double best = -1;
  for (long l = long(lag) - 2; l <= long(lag) + 2; ++l) {
    double product = 0, energy = 0;
    for (size_t i = from; i + size_t(l) < s.size(); ++i) {
      product += double(s[i]) * s[i + size_t(l)];
      energy += double(s[i]) * s[i];
    }
    best = std::max(best, product / energy);
  }
  return best;
}

TEST_F(ChipTest, DutySelectsTheFractionOfTimeHigh) {
  // Duty 3 is duty 1 inverted: six steps of eight high.
  const double expected[] = {0.125, 0.25, 0.5, 0.75};
  for (uint8_t duty = 0; duty < 4; ++duty) {
    resetAudioEngine();
    playPulse(0, 0x0FD, duty);
    EXPECT_NEAR(highFraction(renderSeconds(0.5), 8820), expected[duty], 0.02) << "duty " << int(duty);
  }
}

TEST_F(ChipTest, PulseBelowPeriodEightIsSilent) {
  playPulse(0, 7);
  EXPECT_EQ(peak(renderSeconds(0.2)), 0);
  playPulse(0, 8);
  EXPECT_GT(peak(renderSeconds(0.2)), 1000);
}

TEST_F(ChipTest, SweepTargetBeyond7FFWithoutNegateSilencesThePulse) {
  // Shift 0 doubles the period in the target: 0x400 overflows, 0x3FF does not.
  apuWrite(0x4015, 0x0F);
  apuWrite(0x4004, 0xBF);
  apuWrite(0x4005, 0x00);
  apuWrite(0x4006, 0x00);
  apuWrite(0x4007, 0x0C);
  EXPECT_EQ(peak(renderSeconds(0.2)), 0);
  apuWrite(0x4006, 0xFF);
  apuWrite(0x4007, 0x0B);
  EXPECT_GT(peak(renderSeconds(0.2)), 1000);
  apuWrite(0x4005, 0x08);  // negate set: the target can't overflow
  apuWrite(0x4007, 0x0C);
  EXPECT_GT(peak(renderSeconds(0.2), 4410), 1000);
}

TEST_F(ChipTest, DisabledChannelIgnoresLengthLoadAndStaysSilent) {
  playPulse(0, 0x0FD);
  apuWrite(0x4015, 0x00);
  renderSeconds(0.2);
  apuWrite(0x4003, 0x08);
  EXPECT_LT(peak(renderSeconds(0.2), 4410), 30);
  EXPECT_EQ(soundChip.pulse1.lengthCounter, 0);
}

TEST_F(ChipTest, LengthCounterRunsOutAtTheFrameSequencerRate) {
  playPulse(0, 0x0FD);
  apuWrite(0x4000, 0x9F);  // not halted
  apuWrite(0x4003, 0x00);  // length 10: five sequencer frames of 4 steps = 10 half frames
  const Samples s = renderSeconds(0.2);
  const double halfFrameSeconds = 2.0 * kPalFramePeriod / kPalClockRate;
  const size_t end = size_t(10 * halfFrameSeconds * kOutputRate);
  EXPECT_GT(peak(Samples(s.begin() + long(end) - 400, s.begin() + long(end) - 200)), 3000);
  EXPECT_LT(peak(Samples(s.begin() + long(end) + 600, s.begin() + long(end) + 800)), 1500);
}

TEST_F(ChipTest, FiveStepModeWriteClocksLengthAtOnceFourStepDoesNot) {
  playPulse(0, 0x0FD);
  apuWrite(0x4000, 0x9F);
  apuWrite(0x4003, 0x18);  // length 2
  apuWrite(0x4017, 0x40);
  apuWrite(0x4017, 0x40);
  EXPECT_EQ(soundChip.pulse1.lengthCounter, 2);
  EXPECT_GT(peak(render(600), 200), 3000);

  apuWrite(0x4003, 0x18);
  apuWrite(0x4017, 0xC0);
  apuWrite(0x4017, 0xC0);
  const Samples after = render(2000);
  EXPECT_EQ(soundChip.pulse1.lengthCounter, 0);
  // After the kernel tail only the slow decay of the bass cut remains.
  for (size_t i = 40; i < after.size(); ++i) ASSERT_LT(std::abs(after[i] - after[i - 1]), 30) << i;
}

TEST_F(ChipTest, SweepSequenceCarriesThePeriodIntoTheNextHighByte) {
  // The player's way to move 0x1F0 to 0x240 without restarting the phase.
  playPulse(0, 0x1F0);
  renderSeconds(0.1);
  apuWrite(0x4017, 0x40);
  apuWrite(0x4002, 0xFF);
  apuWrite(0x4001, 0x87);
  apuWrite(0x4017, 0xC0);
  apuWrite(0x4001, 0x0F);
  apuWrite(0x4002, 0x40);
  render(100);
  EXPECT_EQ(soundChip.pulse1.period(), 0x240);
  const double expected = kPalClockRate / (16.0 * 0x241);
  EXPECT_NEAR(frequency(renderSeconds(1.0)), expected, expected * 0.002);
}

TEST_F(ChipTest, SweepUnitRaisesAndLowersThePeriodAtHalfFrames) {
  playPulse(0, 0x200);
  apuWrite(0x4001, 0x81);  // enabled, divider 0, shift 1: p += p / 2 every half frame
  apuWrite(0x4017, 0xC0);
  render(100);
  EXPECT_EQ(soundChip.pulse1.period(), 0x300);

  // Negate: Pulse 1 subtracts one more than Pulse 2.
  playPulse(0, 0x200);
  playPulse(1, 0x200);
  apuWrite(0x4001, 0x89);
  apuWrite(0x4005, 0x89);
  apuWrite(0x4017, 0xC0);
  render(100);
  EXPECT_EQ(soundChip.pulse1.period(), 0x0FF);
  EXPECT_EQ(soundChip.pulse2.period(), 0x100);
}

TEST_F(ChipTest, EnvelopeDecaysFromFifteenAndLoopsOnlyWhenAsked) {
  playPulse(0, 0x0FD);
  apuWrite(0x4000, 0xA0);  // envelope, divider 0, length halted = loop
  apuWrite(0x4003, 0x08);
  const int loud = peak(renderSeconds(0.05));
  renderSeconds(0.05);
  EXPECT_LT(soundChip.pulse1.envelope.volume, 15);
  apuWrite(0x4000, 0x80);  // no loop: ends at 0
  apuWrite(0x4003, 0x08);
  renderSeconds(0.2);
  EXPECT_EQ(soundChip.pulse1.envelope.volume, 0);
  EXPECT_GT(loud, 3000);
  EXPECT_LT(peak(renderSeconds(0.1), 2205), 30);
}

TEST_F(ChipTest, TriangleHoldsItsLevelWhenTheLinearCounterStops) {
  playTriangle(0x0FD);
  const Samples playing = render(3000);
  apuWrite(0x4008, 0x00);  // linear counter reloads to 0 at the next quarter frame
  const Samples stopping = render(1000);
  const int held = soundChip.triangle.amplitude();
  const int phase = soundChip.triangle.phase;
  ASSERT_NE(held, 0) << "choose a stop point where the ramp is not at 0";
  const Samples after = render(3000);
  EXPECT_EQ(soundChip.triangle.phase, phase);
  auto largestJump = [](const Samples& s) {
    int largest = 0;
    for (size_t i = 1; i < s.size(); ++i) largest = std::max(largest, std::abs(s[i] - s[i - 1]));
    return largest;
  };
  // Once the ramp stops only the bass cut's slow decay remains: no click.
  EXPECT_LE(largestJump(stopping), largestJump(playing));
  EXPECT_LT(largestJump(after), largestJump(playing) / 4);
}

TEST_F(ChipTest, TriangleHoldsAtUltrasonicPeriodsAndZeroLength) {
  const std::pair<uint32_t, uint8_t> stops[][2] = {{{0x400A, 0x01}, {0x400B, 0x08}},  // period 1
                                                   {{0x4015, 0x0B}, {0x4015, 0x0B}}};  // length counter to 0
  for (const auto& stop : stops) {
    playTriangle(0x0FD);
    render(1234);
    for (const auto& [address, value] : stop) apuWrite(address, value);
    render(100);
    const int phase = soundChip.triangle.phase;
    render(2000);
    EXPECT_EQ(soundChip.triangle.phase, phase) << std::hex << stop[0].first;
  }
}

TEST_F(ChipTest, DirectLevelWriteMovesTheOutputAtOnce) {
  renderSeconds(0.1);
  apuWrite(0x4011, 0x7F);
  const Samples up = render(64);
  // Leftover samples of the last sub-step plus the kernel's half width.
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(up[i], 0) << i;
  EXPECT_GT(up[20], 10000);
  renderSeconds(0.5);
  apuWrite(0x4011, 0x00);
  const Samples down = render(64);
  EXPECT_LT(down[20], -10000);
}

TEST_F(ChipTest, ShortNoiseRepeatsEvery93StepsOfTheSongsStandardLongNoiseDoesNot) {
  // Each console's own table in CPU clocks: a PAL song sounds as on a PAL console.
  const int ntscPeriods[] = {4, 8, 16, 32, 64, 96, 128, 160, 202, 254, 380, 508, 762, 1016, 2034, 4068};
  const int palPeriods[] = {4, 8, 14, 30, 60, 88, 118, 148, 188, 236, 354, 472, 708, 944, 1890, 3778};
  for (bool ntsc : {false, true}) {
    for (int index = 0; index < 16; ++index) {
      resetAudioEngine();
      useNtsc(ntsc);
      playNoise(index, true);
      const double lag =
          93.0 * (ntsc ? ntscPeriods : palPeriods)[index] * kOutputRate / (ntsc ? kNtscClockRate : kPalClockRate);
      const Samples shortMode = renderSeconds(1.0);
      EXPECT_GT(periodicity(shortMode, 4410, lag), 0.8) << (ntsc ? "NTSC " : "PAL ") << index;
      if (index != 8) continue;
      playNoise(index, false);
      EXPECT_LT(periodicity(renderSeconds(0.5), 4410, lag), 0.3) << (ntsc ? "NTSC" : "PAL");
    }
  }
}

TEST_F(ChipTest, WritesAboveTheChipRangeAreIgnored) {
  apuWrite(0x4018, 0xFF);
  apuWrite(0x8000, 0xFF);
  apuWrite(0xC000, 0xFF);
  apuWrite(0xFFFF, 0xFF);
  EXPECT_EQ(peak(renderSeconds(0.1)), 0);
}

}  // namespace
