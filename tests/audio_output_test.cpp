#include <utility>

#include "audio_test_support.h"

namespace qc {

namespace {

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
  write(0x2000, 0x10);
  write(0x4011, 0x40);
  EXPECT_EQ(chip->writeTime, 8);
  EXPECT_GT(peak(render(100)), 1000);
  write(0x9000, 0x7F);
  write(0x9001, 105);
  write(0x9002, 0x80);
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
  write(0x4015, 0x00);
  write(0x4011, 0x00);
  render(100);
  setupChipClock(*chip, false);
  EXPECT_EQ(peak(render(4096)), 0);
  int16_t untouched = 7;
  fillAudio(*chip, nullptr, &untouched, 0);
  fillAudio(*chip, nullptr, &untouched, -5);
  EXPECT_EQ(untouched, 7);
}

}  // namespace

}  // namespace qc
