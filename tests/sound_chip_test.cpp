#include "audio_test_support.h"
#include "playback/player.h"

namespace qc {

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

int largestJump(const Samples& s) {
  int largest = 0;
  for (size_t i = 1; i < s.size(); ++i) largest = std::max(largest, std::abs(s[i] - s[i - 1]));
  return largest;
}

// Every oscillator at its period in both standards: the chips run at the song's clock.
TEST_F(ChipTest, EveryOscillatorSoundsAtItsPeriodInBothStandards) {
  for (bool ntsc : {false, true}) {
    const auto expectPitch = [&](double cycleClocks, const char* what) {
      const double expected = chipClockRate(ntsc) / cycleClocks;
      EXPECT_NEAR(frequency(renderSeconds(1.0)), expected, expected * 0.002) << what << (ntsc ? " NTSC" : " PAL");
    };
    for (int channel : {0, 1}) {
      for (int period : {0x050, 0x400}) {
        reset(ntsc);
        playPulse(channel, period);
        expectPitch(16.0 * (period + 1), channel == 0 ? "pulse 1" : "pulse 2");
      }
    }
    reset(ntsc);
    playTriangle(0x2A0);
    expectPitch(32.0 * 0x2A1, "triangle: an octave below the pulse");
    reset(ntsc);
    write({{0xB000, 0x2A}, {0xB001, 0x80}, {0xB002, 0x80}});
    expectPitch(14.0 * 0x81, "sawtooth: fourteen periods a cycle");
    // The metronome's bar click, near one kilohertz.
    const int click = ntsc ? 113 : 105;
    reset(ntsc);
    write({{0x9000, 0x7F} /* duty 8 of 16, volume 15 */, {0x9001, uint8_t(click)}, {0x9002, 0x80}});
    expectPitch(16.0 * (click + 1), "metronome");
  }
}

TEST_F(ChipTest, DutySelectsTheFractionOfTimeHigh) {
  // Duty 3 is duty 1 inverted: six steps of eight high.
  const double expected[] = {0.125, 0.25, 0.5, 0.75};
  for (uint8_t duty = 0; duty < 4; ++duty) {
    reset();
    playPulse(0, 0x0FD, duty);
    EXPECT_NEAR(highFraction(renderSeconds(0.5), 8820), expected[duty], 0.02) << "duty " << int(duty);
  }
}

TEST_F(ChipTest, PulseIsSilentBelowPeriodEightOrWhenItsSweepTargetOverflows) {
  playPulse(0, 7);
  EXPECT_EQ(peak(renderSeconds(0.2)), 0);
  // Shift 0 doubles the period in the target: 0x400 overflows, 0x3FF does not.
  write({{0x4004, 0xBF}, {0x4005, 0x00}, {0x4006, 0x00}, {0x4007, 0x0C}});
  EXPECT_EQ(peak(renderSeconds(0.2)), 0);
  write({{0x4006, 0xFF}, {0x4007, 0x0B}});
  EXPECT_GT(peak(renderSeconds(0.2)), 1000);
  write({{0x4005, 0x08}, {0x4007, 0x0C}});  // negate set: the target can't overflow
  EXPECT_GT(peak(renderSeconds(0.2), 4410), 1000);
  playPulse(0, 8);
  write(0x4004, 0x30);
  EXPECT_GT(peak(renderSeconds(0.2), 4410), 1000);
}

TEST_F(ChipTest, LengthCounterRunsOutAtTheFrameSequencerRateNotWhileDisabledAndAtOnceInFiveStepMode) {
  playPulse(0, 0x0FD);
  write({{0x4000, 0x9F}, {0x4003, 0x00}});  // not halted, length 10: ten half frames
  const Samples s = renderSeconds(0.2);
  const size_t end = size_t(10 * 2.0 * kPalFramePeriod / kPalClockRate * kOutputRate);
  EXPECT_GT(peak(Samples(s.begin() + long(end) - 400, s.begin() + long(end) - 200)), 3000);
  EXPECT_LT(peak(Samples(s.begin() + long(end) + 600, s.begin() + long(end) + 800)), 1500);

  write({{0x4015, 0x00}, {0x4003, 0x08}});  // a disabled channel takes no length
  EXPECT_LT(peak(renderSeconds(0.2), 4410), 30);
  EXPECT_EQ(chip->soundChip.pulse1.lengthCounter, 0);

  // A five-step mode write clocks the length at once; a four-step one does not.
  write({{0x4015, 0x0F}, {0x4003, 0x18} /* length 2 */, {0x4017, 0x40}, {0x4017, 0x40}});
  EXPECT_EQ(chip->soundChip.pulse1.lengthCounter, 2);
  EXPECT_GT(peak(render(600), 200), 3000);

  write({{0x4003, 0x18}, {0x4017, 0xC0}, {0x4017, 0xC0}});
  const Samples after = render(2000);
  EXPECT_EQ(chip->soundChip.pulse1.lengthCounter, 0);
  // After the kernel tail only the slow decay of the bass cut remains.
  EXPECT_LT(largestJump(Samples(after.begin() + 40, after.end())), 30);
}

// The player moves the high byte by one through the sweep unit, keeping the
// phase; the chip's timer must end on the written period every time.
TEST_F(ChipTest, SweepTrickLandsEveryWrittenPeriodOnBothPulses) {
  Song song;
  Player player(song, chip.get());
  for (int pulse : {0, 1}) {
    playPulse(pulse, 0x1FC);
    player.channels[pulse].lastPeriod = -1;
    for (int period : {0x1FC, 0x201, 0x1F0, 0x2FF, 0x300, 0x2FF, 0x0FF, 0x100, 0x7FF, 0x6FF}) {
      writePulsePeriod(player, pulse, period);
      EXPECT_GT(peak(render(800), 400), 1000) << period;
      EXPECT_EQ((pulse == 0 ? chip->soundChip.pulse1 : chip->soundChip.pulse2).period(), period) << pulse;
    }
  }
}

TEST_F(ChipTest, SweepUnitRaisesAndLowersThePeriodAtHalfFrames) {
  playPulse(0, 0x200);
  write({{0x4001, 0x81}, {0x4017, 0xC0}});  // enabled, divider 0, shift 1: p += p / 2 every half frame
  render(100);
  EXPECT_EQ(chip->soundChip.pulse1.period(), 0x300);
  // Negate: Pulse 1 subtracts one more than Pulse 2.
  playPulse(0, 0x200);
  playPulse(1, 0x200);
  write({{0x4001, 0x89}, {0x4005, 0x89}, {0x4017, 0xC0}});
  render(100);
  EXPECT_EQ(chip->soundChip.pulse1.period(), 0x0FF);
  EXPECT_EQ(chip->soundChip.pulse2.period(), 0x100);
}

TEST_F(ChipTest, EnvelopeDecaysFromFifteenAndLoopsOnlyWhenAsked) {
  playPulse(0, 0x0FD);
  write({{0x4000, 0xA0}, {0x4003, 0x08}});  // envelope, divider 0, length halted = loop
  const int loud = peak(renderSeconds(0.05));
  renderSeconds(0.05);
  EXPECT_LT(chip->soundChip.pulse1.envelope.volume, 15);
  write({{0x4000, 0x80}, {0x4003, 0x08}});  // no loop: ends at 0
  renderSeconds(0.2);
  EXPECT_EQ(chip->soundChip.pulse1.envelope.volume, 0);
  EXPECT_GT(loud, 3000);
  EXPECT_LT(peak(renderSeconds(0.1), 2205), 30);
}

TEST_F(ChipTest, TriangleHoldsItsLevelWithoutAClickWhenItStops) {
  playTriangle(0x0FD);
  const Samples playing = render(3000);
  write(0x4008, 0x00);  // linear counter reloads to 0 at the next quarter frame
  const Samples stopping = render(1000);
  ASSERT_NE(chip->soundChip.triangle.amplitude(), 0) << "choose a stop point where the ramp is not at 0";
  const int phase = chip->soundChip.triangle.phase;
  const Samples after = render(3000);
  EXPECT_EQ(chip->soundChip.triangle.phase, phase);
  // Once the ramp stops only the bass cut's slow decay remains: no click.
  EXPECT_LE(largestJump(stopping), largestJump(playing));
  EXPECT_LT(largestJump(after), largestJump(playing) / 4);

  const std::pair<uint32_t, uint8_t> stops[][2] = {{{0x400A, 0x01}, {0x400B, 0x08}},  // period 1
                                                   {{0x4015, 0x0B}, {0x4015, 0x0B}}};  // length counter to 0
  for (const auto& stop : stops) {
    playTriangle(0x0FD);
    render(1234);
    for (const auto& [address, value] : stop) write(address, value);
    render(100);
    const int held = chip->soundChip.triangle.phase;
    render(2000);
    EXPECT_EQ(chip->soundChip.triangle.phase, held) << std::hex << stop[0].first;
  }
}

TEST_F(ChipTest, DirectLevelWriteMovesTheOutputAtOnce) {
  renderSeconds(0.1);
  write(0x4011, 0x7F);
  const Samples up = render(64);
  // Leftover samples of the last sub-step plus the kernel's half width.
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(up[i], 0) << i;
  EXPECT_GT(up[20], 10000);
  renderSeconds(0.5);
  write(0x4011, 0x00);
  EXPECT_LT(render(64)[20], -10000);
}

TEST_F(ChipTest, ShortNoiseRepeatsEvery93StepsOfTheSongsStandardLongNoiseDoesNot) {
  // Each console's own table in CPU clocks: a PAL song sounds as on a PAL console.
  const int ntscPeriods[] = {4, 8, 16, 32, 64, 96, 128, 160, 202, 254, 380, 508, 762, 1016, 2034, 4068};
  const int palPeriods[] = {4, 8, 14, 30, 60, 88, 118, 148, 188, 236, 354, 472, 708, 944, 1890, 3778};
  for (bool ntsc : {false, true}) {
    for (int index = 0; index < 16; ++index) {
      reset(ntsc);
      playNoise(index, true);
      const double lag = 93.0 * (ntsc ? ntscPeriods : palPeriods)[index] * kOutputRate / chipClockRate(ntsc);
      const Samples shortMode = renderSeconds(1.0);
      EXPECT_GT(periodicity(shortMode, 4410, lag), 0.8) << (ntsc ? "NTSC " : "PAL ") << index;
      if (index != 8) continue;
      EXPECT_GT(peak(shortMode), 3000);
      playNoise(index, false);
      const Samples longMode = renderSeconds(0.5);
      EXPECT_LT(periodicity(longMode, 4410, lag), 0.3) << (ntsc ? "NTSC" : "PAL");
      EXPECT_GT(peak(longMode), 3000);
    }
  }
}

}  // namespace

}  // namespace qc
