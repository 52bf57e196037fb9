// The band-limited steps of every channel and the buffer they land in.
#include "playback/nonlinear_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "playback/clock_rates.h"
#include "playback/engine.h"
#include "playback/step_synth.h"

namespace qc {

namespace {

struct NamedSynth {
  const char* name;
  const StepSynth* synth;
  int32_t unit;
  int width;
};

const Engine engine(false);

std::vector<NamedSynth> engineSynths() {
  const SoundChip& chip = engine.soundChip;
  const ExpansionChip& expansion = engine.expansionChip;
  return {{"pulse", &chip.pulseSynth, 492, kWideKernel},
          {"triangle", &chip.triangleSynth, 350, kWideKernel},
          {"noise", &chip.noiseSynth, 234, kNarrowKernel},
          {"sample channel", &chip.sampleSynth, 117, kNarrowKernel},
          {"expansion pulse", &expansion.pulseSynth, 422, kWideKernel},
          {"sawtooth", &expansion.sawSynth, 409, kNarrowKernel}};
}

// Units are the channels' mix levels. Every phase moves the level by exactly one unit; the kernels
// peak on the same buffer entry; odd-position rows repeat the even rows one entry later.
TEST(StepSynthTest, KernelsOfEveryChannel) {
  for (const NamedSynth& s : engineSynths()) {
    EXPECT_EQ(s.synth->volumeUnit(), s.unit) << s.name;
    EXPECT_EQ(s.synth->width(), s.width) << s.name;
    for (int row = 0; row < kKernelRows; ++row) {
      const uint16_t* entries = s.synth->kernelRow(row);
      int64_t sum = 0;
      for (int tap = 0; tap < s.width; ++tap) sum += int64_t(entries[tap]) - s.unit;
      EXPECT_EQ(sum, s.unit) << s.name << " row " << row;
    }
    // Mid-sample phase: a symmetric kernel whose largest tap is its centre.
    const uint16_t* row = s.synth->kernelRow(kKernelPhases / 2);
    const int centre = int(std::max_element(row, row + s.width) - row);
    EXPECT_EQ((kSpareEntries - s.width) / 2 + centre, 11) << s.name;
    for (int tap = 1; tap < s.width - 1; ++tap)
      EXPECT_NEAR(row[centre - (tap - centre)], row[tap], 1) << s.name << " tap " << tap;
    for (int phase = 0; phase < kKernelPhases; ++phase) {
      const uint16_t* even = s.synth->kernelRow(phase);
      const uint16_t* odd = s.synth->kernelRow(phase + kKernelPhases);
      EXPECT_EQ(odd[0], s.unit) << s.name;
      for (int tap = 0; tap + 1 < s.width; ++tap) EXPECT_EQ(odd[tap + 1], even[tap]) << s.name << " row " << phase;
    }
  }
}

class NonlinearBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buffer.setClockRate(kPalClockRate);
    ASSERT_EQ(buffer.setSampleRate(kOutputRate, 0), nullptr);
    buffer.clearBuffer();
  }
  std::vector<int16_t> read(int32_t count) {
    std::vector<int16_t> out(size_t(count), 0x5555);
    out.resize(size_t(buffer.readSamples(out.data(), count)));
    return out;
  }
  Nonlinear_Buffer buffer;
};

TEST_F(NonlinearBufferTest, SetUpGivesTheLargestBufferAndBassShiftNine) {
  for (const DeltaBuffer* b : {&buffer.pulse, &buffer.tnd}) {
    EXPECT_EQ(b->size, kLargestBufferSamples);
    EXPECT_EQ(b->entries.size(), size_t(kLargestBufferSamples + kSpareEntries));
    EXPECT_EQ(b->bassShift, 9);
    EXPECT_TRUE(std::all_of(b->entries.begin(), b->entries.end(), [](uint16_t e) { return e == kRestEntry; }));
  }
  EXPECT_EQ(buffer.channelBuffers(0).centre, &buffer.pulse);
  EXPECT_EQ(buffer.channelBuffers(1).left, &buffer.pulse);
  for (int tnd : {2, 3, 4}) EXPECT_EQ(buffer.channelBuffers(tnd).right, &buffer.tnd);
}

TEST_F(NonlinearBufferTest, SumsBeyondSixteenBitsSaturate) {
  StepSynth loud(kWideKernel);
  loud.setVolume(0.3);  // a unit of 19661: two steps overflow
  loud.addStepAtClock(100, 1, buffer.pulse);
  loud.addStepAtClock(400, 1, buffer.pulse);
  loud.addStepAtClock(1500, -1, buffer.pulse);
  loud.addStepAtClock(1800, -1, buffer.pulse);
  loud.addStepAtClock(1900, -1, buffer.pulse);
  loud.addStepAtClock(2000, -1, buffer.pulse);
  buffer.endFrame(4000, true);
  const std::vector<int16_t> out = read(100);
  const auto [lo, hi] = std::minmax_element(out.begin(), out.end());
  EXPECT_EQ(*hi, 32767);
  EXPECT_EQ(*lo, -32768);
  // Held at the limit, never wrapped round (about 12 samples of kernel delay).
  for (size_t i = 26; i < 50; ++i) EXPECT_EQ(out[i], 32767) << i;
  for (size_t i = 68; i < 80; ++i) EXPECT_EQ(out[i], -32768) << i;
}

TEST_F(NonlinearBufferTest, MapperCompressesLoudTndOutput) {
  buffer.mapper.enabled = true;
  StepSynth synth(kNarrowKernel);
  synth.setVolume(0.001782178217821782);  // the sample channel's unit
  synth.addStepAtClock(0, 16, buffer.tnd);
  buffer.endFrame(2000, true);
  const int quiet = read(40).back();
  synth.addStepAtClock(0, 111, buffer.tnd);
  buffer.endFrame(2000, true);
  const int loud = read(40).back();
  // Level 127 gives less than 127 / 16 times level 16.
  EXPECT_GT(quiet, 0);
  EXPECT_LT(loud, quiet * 127 / 16 * 9 / 10);
  EXPECT_EQ(buffer.mapper.table[1024], 32768);
  EXPECT_EQ(buffer.mapper.table[1791], 64394);
  EXPECT_EQ(buffer.mapper.table[2047], 64394);
  EXPECT_EQ(buffer.mapper.table[512], 512 * 32);
}

}  // namespace

}  // namespace qc
