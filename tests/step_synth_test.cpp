#include "playback/step_synth.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "playback/engine.h"

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

}  // namespace

}  // namespace qc
