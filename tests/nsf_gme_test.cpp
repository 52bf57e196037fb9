// Our NSF files in an independent player (Game Music Emu).
#include <gtest/gtest.h>

#include "export/nsf_export.h"
#include "export/nsf_layout.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "tests/gme_render.h"

namespace {

constexpr double kPalClock = 1662607.0;
constexpr double kNtscClock = 1789772.6666666667;

TickFields silentTick() {
  TickFields tick = kNoFields;
  for (int field : {kCapPulse1DutyVolume, kCapPulse2DutyVolume, kCapTriangleOn, kCapNoiseVolume, kCapSample})
    tick[field] = 0;
  return tick;
}

std::vector<uint8_t> nsfOf(const OrderPass& pass, const std::array<RawSample, kSampleSlots>& samples, bool ntsc) {
  SongStreams streams;
  commitPass(streams, pass);
  return *buildNsfFile(streams, prepareSamples(samples, ntsc), {"Tone", "", ""}, ntsc);
}

// gme plays a second of the file, audibly, at `expected` Hz once play's
// initial wait is over.
void expectTone(const std::vector<uint8_t>& nsf, double expected, double tolerance) {
  std::vector<int16_t> audio = renderWithGme(nsf, 1.0);
  ASSERT_EQ(audio.size(), size_t(kGmeRate)) << "gme rejected the file";
  const size_t settled = kGmeRate / 3;
  EXPECT_GT(acLevel(audio, settled), 1000.0) << "silent";
  EXPECT_NEAR(zeroCrossingFrequency(audio, settled), expected, expected * tolerance);
}

class GmePlaysOurNsf : public testing::TestWithParam<bool> {};

// The DAC stream: a looping sample of a square wave, 20 bytes a period.
TEST_P(GmePlaysOurNsf, TheSampleStreamAtItsByteRate) {
  const bool ntsc = GetParam();
  OrderPass pass(50, silentTick());
  pass[0][kCapSample] = 1;
  std::array<RawSample, kSampleSlots> samples;
  for (int i = 0; i < 40 * 39; i++) samples[1].data.push_back(i % 20 < 10 ? 16 : 112);
  samples[1].loop = true;
  // 156 bytes every 33260.5 cycles; NTSC data is stretched back to PAL time.
  expectTone(nsfOf(pass, samples, ntsc), kPalClock * 156 / 33260.5 / 20, 0.03);
}

// A note put in the editor comes out at the period table's pitch.
TEST_P(GmePlaysOurNsf, AnExportedNoteAtItsPitch) {
  const bool ntsc = GetParam();
  resetToProgramStart();
  app.song.ntsc = ntsc;
  Player player(app.song, nullptr);
  buildPeriodTable(player);
  const int note = 58;  // 880 Hz
  app.song.patterns[0].cells[0][0] = Cell{uint8_t(note), 1, 0};
  std::optional<std::vector<uint8_t>> file = compileNsf(app.song);
  ASSERT_TRUE(file);
  expectTone(*file, (ntsc ? kNtscClock : kPalClock) / (16.0 * (player.periodTable[note] + 1)), 0.02);
}

INSTANTIATE_TEST_SUITE_P(PalAndNtsc, GmePlaysOurNsf, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ntsc" : "Pal"; });

}  // namespace
