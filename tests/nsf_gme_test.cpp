// Our NSF files in an independent player (Game Music Emu).
#include <gtest/gtest.h>

#include "export/nsf_layout.h"
#include "tests/gme_render.h"

namespace {

constexpr double kPalClock = 1662607.0;
constexpr double kNtscClock = 1789772.6666666667;

TickFields silentTick() {
  TickFields tick = kNoFields;
  tick[kCapPulse1DutyVolume] = 0;
  tick[kCapPulse2DutyVolume] = 0;
  tick[kCapTriangleOn] = 0;
  tick[kCapNoiseVolume] = 0;
  tick[kCapSample] = 0;
  return tick;
}

// A song whose only sound is pulse 1 at `period`, 50% duty, full volume.
std::vector<uint8_t> pulseTone(int period, bool ntsc) {
  TickFields tick = silentTick();
  tick[kCapPulse1High] = period >> 8;
  tick[kCapPulse1Low] = period & 0xFF;
  tick[kCapPulse1DutyVolume] = 2 << 4 | 15;
  SongStreams streams;
  commitPass(streams, OrderPass(50, tick));
  std::array<RawSample, kSampleSlots> noSamples;
  return *buildNsfFile(streams, prepareSamples(noSamples, ntsc), {"Tone", "", ""}, ntsc);
}

class GmePlaysOurNsf : public testing::TestWithParam<bool> {};

TEST_P(GmePlaysOurNsf, AtThePitchOfThePulsePeriod) {
  bool ntsc = GetParam();
  const int period = 253;
  std::vector<int16_t> audio = renderWithGme(pulseTone(period, ntsc), 1.0);
  ASSERT_EQ(audio.size(), size_t(kGmeRate)) << "gme rejected the file";
  size_t settled = kGmeRate / 3;  // after play's initial wait
  EXPECT_GT(acLevel(audio, settled), 1000.0) << "silent";
  double expected = (ntsc ? kNtscClock : kPalClock) / (16.0 * (period + 1));
  EXPECT_NEAR(zeroCrossingFrequency(audio, settled), expected, expected * 0.02);
}

// The DAC stream: a looping sample of a square wave, 20 bytes a period.
TEST_P(GmePlaysOurNsf, TheSampleStreamAtItsByteRate) {
  bool ntsc = GetParam();
  SongStreams streams;
  OrderPass pass(50, silentTick());
  pass[0][kCapSample] = 1;
  commitPass(streams, pass);
  std::array<RawSample, kSampleSlots> samples;
  for (int i = 0; i < 40 * 39; i++) samples[1].data.push_back(i % 20 < 10 ? 16 : 112);
  samples[1].loop = true;
  std::vector<int16_t> audio =
      renderWithGme(*buildNsfFile(streams, prepareSamples(samples, ntsc), {"", "", ""}, ntsc), 1.0);
  ASSERT_EQ(audio.size(), size_t(kGmeRate)) << "gme rejected the file";
  size_t settled = kGmeRate / 3;
  EXPECT_GT(acLevel(audio, settled), 1000.0) << "silent";
  // 156 bytes every 33260.5 cycles; NTSC data is stretched back to PAL time.
  double expected = kPalClock * 156 / 33260.5 / 20;
  EXPECT_NEAR(zeroCrossingFrequency(audio, settled), expected, expected * 0.03);
}

INSTANTIATE_TEST_SUITE_P(PalAndNtsc, GmePlaysOurNsf, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ntsc" : "Pal"; });

}  // namespace
