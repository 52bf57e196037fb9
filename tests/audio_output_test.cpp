#include <utility>

#include "audio_test_support.h"

namespace {

using AudioOutputTest = AudioTest;

int frames = 0;
int subSteps = 0;
std::vector<std::pair<uint32_t, int32_t>> writes;

void countFrame() { ++frames; }
void countSubStep() { ++subSteps; }
void logWrite(uint32_t address, uint8_t, int32_t clock) { writes.emplace_back(address, clock); }

// A frame of pitch and volume changes, and a new direct level every sub-step.
void busyFrame() {
  ++frames;
  const int period = 0x100 + (frames * 37) % 0x300;
  apuWrite(0x4015, 0x0F);
  apuWrite(0x4000, uint8_t(0xB0 | (frames & 15)));
  apuWrite(0x4002, uint8_t(period & 0xFF));
  apuWrite(0x4003, uint8_t(0x08 | period >> 8));
  apuWrite(0x4008, 0xFF);
  apuWrite(0x400A, uint8_t(period));
  apuWrite(0x400B, 0x09);
  apuWrite(0x400C, 0x3F);
  apuWrite(0x400E, uint8_t(frames & 15));
  apuWrite(0x400F, 0x08);
}
void busySubStep() {
  ++subSteps;
  apuWrite(0x4011, uint8_t((subSteps * 11) & 0x7F));
}

class LoopTest : public AudioOutputTest {
 protected:
  void SetUp() override {
    AudioOutputTest::SetUp();
    frames = subSteps = 0;
    writes.clear();
  }
};

TEST_F(LoopTest, CallbackGetsExactlyTheSamplesItAsksFor) {
  setPlayerRoutines(busyFrame, busySubStep);
  Samples stream(4096 + 16, 0x1234);
  fillAudio(stream.data(), 8192 / 2);
  for (size_t i = 4096; i < stream.size(); ++i) EXPECT_EQ(stream[i], 0x1234);
  // At most one sub-step's worth (about 2.6 samples) is left over.
  EXPECT_LE(outputBuffer.samplesAvailable(), 3);
}

TEST_F(LoopTest, LeftoverSamplesComeFirstInTheNextCallback) {
  setPlayerRoutines(busyFrame, busySubStep);
  const Samples whole = render(3 * 4096 + 1001);
  resetAudioEngine();
  frames = subSteps = 0;
  setPlayerRoutines(busyFrame, busySubStep);
  Samples split;
  for (int count : {4096, 1, 4095, 999, 4096, 2}) {
    const Samples part = render(count);
    split.insert(split.end(), part.begin(), part.end());
  }
  EXPECT_EQ(split, whole);
  EXPECT_GT(peak(whole), 3000);
}

TEST_F(LoopTest, FrameRateFollowsTheClockRate) {
  // 33247.5 clocks a frame: 50.007 frames a second in PAL, 53.832 in NTSC.
  for (bool ntsc : {false, true}) {
    resetAudioEngine();
    useNtsc(ntsc);
    frames = 0;
    setPlayerRoutines(countFrame, countSubStep);
    renderSeconds(4.0);
    EXPECT_NEAR(frames / 4.0, ntsc ? 53.832 : 50.007, 0.3) << (ntsc ? "NTSC" : "PAL");
  }
}

TEST_F(LoopTest, FramesLast33248And33247ClocksInTurn) {
  const uint32_t factor = outputBuffer.pulse.factor;
  for (int frame = 0; frame < 6; ++frame) {
    const uint32_t start = outputBuffer.pulse.offset;
    for (int i = 0; i < kSubStepsPerFrame; ++i) endSubStep();
    EXPECT_EQ((outputBuffer.pulse.offset - start) / factor, frame % 2 == 0 ? 33248u : 33247u) << frame;
  }
}

TEST_F(LoopTest, WritesOfAFrameLandFourClocksApartInItsFirstSubStep) {
  setRegisterWriteObserver(logWrite);
  setPlayerRoutines(busyFrame, busySubStep);
  render(4);
  ASSERT_GE(writes.size(), 12u);
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(writes[i].second, int32_t(4 * (i + 1))) << "write " << i;
  }
  EXPECT_EQ(writes[10].first, 0x4011u);  // the sub-step routine follows the frame's writes
  EXPECT_EQ(writes[11].first, 0x4011u);
  EXPECT_EQ(writes[11].second, 4);
}

TEST_F(LoopTest, WritesBelowTheChipOnlyAdvanceTheClock) {
  setRegisterWriteObserver(logWrite);
  apuWrite(0x2000, 0x10);
  apuWrite(0x4011, 0x40);
  EXPECT_EQ(writes.back().second, 8);
  EXPECT_GT(peak(render(100)), 1000);
}

TEST_F(LoopTest, ExpansionWritesTakeEffectAtTheirClock) {
  apuWrite(0x9000, 0x7F);
  apuWrite(0x9001, 105);
  apuWrite(0x9002, 0x80);
  EXPECT_EQ(expansionChip.lastTime, 12);
  EXPECT_EQ(expansionChip.oscillators[0].regs[1], 105);
  EXPECT_GT(peak(render(200)), 1000);
  apuWrite(0x9002, 0x00);  // disabled: silent
  renderSeconds(0.2);
  EXPECT_LT(peak(render(1000)), 30);
}

TEST_F(AudioOutputTest, SilenceReadsAsZeroAfterAClear) {
  EXPECT_EQ(peak(render(4096)), 0);
  playPulse(0, 0x0FD);
  playNoise(3, false);
  apuWrite(0x4011, 0x50);
  EXPECT_GT(peak(render(4096)), 1000);
  apuWrite(0x4015, 0x00);
  apuWrite(0x4011, 0x00);
  render(100);
  setupChipClock();
  EXPECT_EQ(peak(render(4096)), 0);
}

TEST_F(AudioOutputTest, RunawayWritesStayInsideTheBuffer) {
  playPulse(0, 0x0FD);
  // Uncapped, 617300 writes would put the pulse's steps just past the buffer's end.
  for (int i = 0; i < 617300; ++i) apuWrite(0x4002, uint8_t(i));
  apuWrite(0x4011, 0x40);
  EXPECT_GT(peak(renderSeconds(1.0)), 1000);
}

TEST_F(AudioOutputTest, NegativeOrZeroCountsReadNothing) {
  int16_t untouched = 7;
  fillAudio(&untouched, 0);
  fillAudio(&untouched, -5);
  EXPECT_EQ(untouched, 7);
}

}  // namespace
