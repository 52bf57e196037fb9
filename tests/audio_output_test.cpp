// The engine's output path: the band-limited steps of every channel, the
// buffer they land in, and the callback that reads it while the player runs.
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "audio_test_support.h"
#include "playback/engine.h"
#include "playback/nonlinear_buffer.h"
#include "playback/step_synth.h"

// Counts the allocations made while `counting` is on, for the whole test binary.
namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
// Not inlined: GCC would take the free() for a mismatch with the new above.
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace qc {

namespace {

TEST_F(AudioLoopTest, FollowsClockChangesWithoutAllocatingOrFallingSilent) {
  Samples callback(4096);
  fillAudio(*chip, player.get(), callback.data(), 4096);
  allocations = 0;
  counting = true;
  for (int i = 0; i < 30; ++i) {
    if (i % 5 == 0) {
      song.ntsc = !song.ntsc;
      player->clockChanged = true;
    }
    fillAudio(*chip, player.get(), callback.data(), 4096);
    EXPECT_GT(peak(callback), 1000) << i;
    EXPECT_EQ(player->periodTable[1], song.ntsc ? 3420 : 3177) << "the table follows the clock";
  }
  counting = false;
  EXPECT_EQ(allocations, 0);
}

TEST_F(AudioLoopTest, CallbackGetsExactlyItsSamplesAndLeftoversComeFirstNextTime) {
  Samples stream(4096 + 16, 0x1234);
  fillAudio(*chip, player.get(), stream.data(), 8192 / 2);
  for (size_t i = 4096; i < stream.size(); ++i) EXPECT_EQ(stream[i], 0x1234);
  // At most one sub-step's worth (about 2.6 samples) is left over.
  EXPECT_LE(chip->outputBuffer.samplesAvailable(), 3);

  reset();
  bind();
  const Samples whole = play(3 * 4096 + 1001);
  reset();
  bind();
  Samples split;
  for (int count : {4096, 1, 4095, 999, 4096, 2}) {
    const Samples part = play(count);
    split.insert(split.end(), part.begin(), part.end());
  }
  EXPECT_EQ(split, whole);
  EXPECT_GT(peak(whole), 3000);
}

TEST_F(AudioLoopTest, FrameRateFollowsTheClockRate) {
  // 33247.5 clocks a frame: 50.007 frames a second in PAL, 53.832 in NTSC.
  putCell(song, 0, 0, 0, 0, 0, 0xF, "00");  // every frame a tick of row 0
  for (bool ntsc : {false, true}) {
    song.ntsc = ntsc;
    reset(ntsc);
    bind();
    play(20 * kOutputRate);  // long enough to tell 312 sub-steps a frame from 313
    EXPECT_NEAR(player->playTick, 20 * (ntsc ? 53.832 : 50.007), 1.5) << (ntsc ? "NTSC" : "PAL");
  }
}

TEST_F(AudioLoopTest, FramesLast33248And33247ClocksInTurn) {
  const DeltaBuffer& pulse = chip->outputBuffer.pulse;
  for (int frame = 0; frame < 6; ++frame) {
    const uint32_t start = pulse.offset;
    for (int i = 0; i < kSubStepsPerFrame; ++i) endSubStep(*chip);
    EXPECT_EQ((pulse.offset - start) / pulse.factor, frame % 2 == 0 ? 33248u : 33247u) << frame;
  }
}

TEST_F(AudioLoopTest, WritesOfAFrameLandFourClocksApartBeforeTheSubStepsOwn) {
  std::vector<std::pair<uint32_t, int32_t>> writes;
  chip->writeObserver = [&](uint32_t address, uint8_t, int32_t clock) { writes.emplace_back(address, clock); };
  play(4);
  // 13 of the frame, then the sub-step's: mask, register reset, raw sample.
  ASSERT_GE(writes.size(), 24u);
  for (size_t i = 0; i < 23; ++i) EXPECT_EQ(writes[i].second, int32_t(4 * (i + 1))) << "write " << i;
  EXPECT_EQ(writes[13].first, 0x4015u);
  EXPECT_EQ(writes[22].first, 0x4011u);
  EXPECT_EQ(writes[23], std::make_pair(0x4011u, 4));
}

using AudioOutputTest = AudioTest;

TEST_F(AudioOutputTest, WritesOutsideTheChipsOnlyAdvanceTheClockAndExpansionWritesActAtTheirs) {
  for (uint32_t address : {0x4018u, 0x8000u, 0xC000u, 0xFFFFu}) write(address, 0xFF);
  EXPECT_EQ(peak(renderSeconds(0.1)), 0);
  write({{0x2000, 0x10}, {0x4011, 0x40}});
  EXPECT_EQ(chip->writeTime, 8);
  EXPECT_GT(peak(render(100)), 1000);
  write({{0x9000, 0x7F}, {0x9001, 105}, {0x9002, 0x80}});
  EXPECT_EQ(chip->expansionChip.lastTime, 12);
  EXPECT_EQ(chip->expansionChip.oscillators[0].regs[1], 105);
  write(0x4011, 0x00);
  EXPECT_GT(peak(render(2000), 1000), 1000);
  write(0x9002, 0x00);  // disabled: silent
  renderSeconds(0.2);
  EXPECT_LT(peak(render(1000)), 30);
}

TEST_F(AudioOutputTest, RunawayWritesStayInsideTheBufferAClearEmptiesItAndNoCountReadsNothing) {
  playPulse(0, 0x0FD);
  playNoise(3, false);
  // Uncapped, 617300 writes would put the pulse's steps just past the buffer's end.
  for (int i = 0; i < 617300; ++i) write(0x4002, uint8_t(i));
  write(0x4011, 0x40);
  EXPECT_GT(peak(renderSeconds(1.0)), 1000);
  write({{0x4015, 0x00}, {0x4011, 0x00}});
  render(100);
  setupChipClock(*chip, false);
  EXPECT_EQ(peak(render(4096)), 0);
  int16_t untouched = 7;
  fillAudio(*chip, nullptr, &untouched, 0);
  fillAudio(*chip, nullptr, &untouched, -5);
  EXPECT_EQ(untouched, 7);
}

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
  const auto& t = buffer.mapper.table;
  EXPECT_EQ((std::array<int, 4>{t[512], t[1024], t[1791], t[2047]}), (std::array{512 * 32, 32768, 64394, 64394}));
}

}  // namespace

}  // namespace qc
