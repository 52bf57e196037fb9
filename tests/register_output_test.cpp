// What the player writes to the chips: each frame's registers in order, the
// sub-steps' resets, mask changes and raw-sample bytes, and the tables behind them.
#include <array>
#include <utility>
#include <vector>

#include "player_test_support.h"

namespace qc {

namespace {

TEST(PlayerTables, PeriodsOfBothStandardsAndTheVibratoQuarterSineAndWave) {
  const int32_t pal[12] = {3177, 2999, 2831, 2672, 2522, 2380, 2247, 2120, 2001, 1889, 1783, 1683};
  const int32_t ntsc[12] = {3420, 3228, 3047, 2876, 2715, 2562, 2418, 2283, 2154, 2034, 1919, 1812};
  Song song;
  Player player(song, nullptr);
  for (bool isNtsc : {false, true}) {
    SCOPED_TRACE(isNtsc ? "NTSC" : "PAL");
    song.ntsc = isNtsc;
    buildPeriodTable(player);
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(player.periodTable[n], (isNtsc ? ntsc : pal)[n - 1]) << "note " << n;
    EXPECT_EQ(player.periodTable[0], 0);
    EXPECT_EQ(player.periodTable[96], isNtsc ? 14 : 13);
    EXPECT_EQ(rowThreshold(player), isNtsc ? 34448 : 32000);
  }

  buildVibratoTable(player);
  // Phases 1, 8 and 14, depths 0..15: single-precision sine, truncated; 15 repeats 14.
  const int32_t rows[3][16] = {{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2},
                               {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 14, 15, 16, 18, 19, 21},
                               {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29}};
  for (const auto& [phase, row] : {std::pair{1, 0}, {8, 1}, {14, 2}, {15, 2}})
    for (int depth = 0; depth < 16; ++depth)
      EXPECT_EQ(player.vibratoTable[phase * 16 + depth], rows[row][depth]) << phase << " " << depth;
  const auto& wave = player.vibratoWave;
  EXPECT_EQ((std::array{wave[15], wave[16], wave[31]}), (std::array<int32_t, 3>{240, 240, 0}));
  for (int i = 0; i < 32; ++i) EXPECT_EQ(wave[32 + i], wave[i]);
}

using RegisterOutput = PlayerTest;

TEST_F(RegisterOutput, FrameWritesTriangleGatePulsesPeriodsThenNoiseInOrder) {
  put(0, 0, 49, 1);
  playSong();
  const Writes actual = frameWrites();
  const int32_t p = tablePeriod(49);
  const Writes expected = {{0x4008, 0x00}, {0x4000, 0xBF} /* duty 2, constant volume 15 */,
                           {0x4004, 0x30}, {0x4002, uint8_t(p & 0xFF)}, {0x4003, uint8_t(p >> 8)},
                           {0x4006, 0x00}, {0x4007, 0x00}, {0x400A, 0x00}, {0x400B, 0x00},
                           {0x400C, 0x30}, {0x400E, 0x0F}, {0x400F, 0x00}, {0x9000, 0x00}};
  EXPECT_EQ(actual, expected);
}

// Sounding, the triangle rewrites its high byte every frame: that restarts its linear counter.
TEST_F(RegisterOutput, TriangleIsGatedOffBelowVolumeEightAndRewritesItsHighByteEveryFrame) {
  put(2, 0, 49, 1, 0xC, "07");
  put(2, 1, 49, 1, 0xC, "08");
  playSong();
  EXPECT_EQ(frameWrites().front(), (RegisterWrite{0x4008, 0x00}));
  EXPECT_EQ(captured(kCapTriangleOn), 0);
  EXPECT_EQ(captured(kCapTriangleHigh), -1);
  EXPECT_EQ(captured(kCapTriangleLow), -1);
  frames(5);
  const int32_t p = tablePeriod(49);
  for (int frame = 0; frame < 2; ++frame) {
    const Writes w = frameWrites();
    EXPECT_EQ(w.front(), (RegisterWrite{0x4008, 0xFF}));
    EXPECT_EQ(Writes(w.begin() + 5, w.begin() + 7), (Writes{{0x400A, uint8_t(p & 0xFF)}, {0x400B, uint8_t(p >> 8)}}));
  }
  EXPECT_EQ(captured(kCapTriangleOn), 255);
  EXPECT_EQ(captured(kCapTriangleHigh) << 8 | captured(kCapTriangleLow), p);
}

TEST_F(RegisterOutput, PulsePeriodWritesMoveOneHighByteThroughTheSweep) {
  struct Case {
    const char* name;
    int channel;
    int32_t last, period;
    Writes expected;
  };
  const Case cases[] = {
      {"same high byte: low byte only", 0, 0x1F0, 0x1A0, {{0x4002, 0xA0}}},
      {"one high byte up", 0, 0x1FF, 0x200,
       {{0x4017, 0x40}, {0x4002, 0xFF}, {0x4001, 0x87}, {0x4017, 0xC0}, {0x4001, 0x0F}, {0x4002, 0x00}}},
      {"one high byte down", 1, 0x200, 0x1FF,
       {{0x4017, 0x40}, {0x4006, 0x00}, {0x4005, 0x8F}, {0x4017, 0xC0}, {0x4005, 0x0F}, {0x4006, 0xFF}}},
      {"two high bytes: in full", 0, 0x0FF, 0x200, {{0x4002, 0x00}, {0x4003, 0x02}}},
      {"no valid last period: in full", 0, -1, 0x0FF, {{0x4002, 0xFF}, {0x4003, 0x00}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writes.clear();
    channel(c.channel).lastPeriod = c.last;
    writePulsePeriod(player, c.channel, c.period);
    EXPECT_EQ(writes, c.expected);
    EXPECT_EQ(channel(c.channel).lastPeriod, c.period);
  }
}

TEST_F(RegisterOutput, VolumeIsScaledByTheEnvelopeAndPeriodAndVolumeAreClamped) {
  setEnvelope(song.envelopes[1][kVolumeEnvelope], {10});
  put(0, 0, 49, 1, 0xC, "07");
  playSongFor(1);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x20 | 7 * 10 / 15);
  channel(0).tremoloOffset = 20;
  channel(0).periodOffset = -5000;
  frames(1);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x20 | 10);
  EXPECT_EQ(capturedPeriod(0), 0);
}

TEST_F(RegisterOutput, DamagedOrEmptyEnvelopesAreKeptInRange) {
  setEnvelope(song.envelopes[1][kVolumeEnvelope], {400});
  setEnvelope(song.envelopes[1][kDutyEnvelope], {-3});
  setEnvelope(song.envelopes[1][kNoteEnvelope], {1 << 30});
  song.envelopes[2][kVolumeEnvelope].values[0] = kEnvelopeEnd;
  song.envelopes[2][kVolumeEnvelope].loop = 7;
  put(0, 0, 49, 1);
  put(1, 0, 49, 2);
  playSongFor(3);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x0F);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(95));  // fixed note 127, looked up as 95
  EXPECT_EQ(captured(kCapPulse2DutyVolume) & 0x0F, 0);  // no values: silence
}

class SubStep : public PlayerTest {
 protected:
  SubStep() { player.channelMaskChanged = false; }
  // The levels written to 0x4011 during the next `count` sub-steps.
  std::vector<int> dacLevels(int count) {
    writes.clear();
    subSteps(count);
    std::vector<int> levels;
    for (const RegisterWrite& w : writes)
      if (w.address == 0x4011) levels.push_back(w.value);
    return levels;
  }
  void makeSample(int slot, std::vector<uint8_t> data, bool loop) {
    song.samples[slot].data = std::move(data);
    song.samples[slot].loop = loop;
  }
};

TEST_F(SubStep, ResetClockAndSilenceRequestsAreCarriedOutAtTheNextSubStep) {
  player.options.channelMask = 0x1B;
  resetPlayer(player);
  player.clockChanged = true;
  EXPECT_EQ(subStepWrites(), (Writes{{0x4000, 0x30}, {0x4004, 0x30}, {0x4008, 0x00}, {0x400C, 0x30},
                                    {0x4001, 0x0F}, {0x4005, 0x0F}, {0x4015, 0x1B}, {0x9000, 0x00}}));
  EXPECT_FALSE(player.apuResetRequest);
  EXPECT_FALSE(player.clockChanged);

  makeSample(3, std::vector<uint8_t>(100, 64), false);
  put(0, 0, 49, 1, 0x4, "48");
  put(kPcmTrack, 0, 3);
  playSong();
  audioFrames(2);
  stopPlayback(player);
  frames(1);  // the frame before the sub-step still plays
  EXPECT_EQ(player.playTick, 3);
  EXPECT_EQ(subStepWrites(), (Writes{{0x4000, 0x30}, {0x4004, 0x30}, {0x4008, 0x00}, {0x400C, 0x30},
                                    {0x4015, 0x1F}, {0x9000, 0x00}}));
  EXPECT_FALSE(player.sequencerRunning);
  EXPECT_FALSE(player.silenceRequest);
  EXPECT_EQ(player.pcmSample, 0);
  const ChannelState& c = channel(0);
  EXPECT_EQ(c.note | c.effect | c.param | c.instrument, 0);
}

TEST_F(SubStep, MutingDisablesTheChannelAndUnmutingForcesAFullPeriodWrite) {
  put(0, 0, 49, 1);
  put(1, 0, 37, 1);
  playSong();
  audioFrames(1);
  setChannelMask(player, 0x1E);
  EXPECT_EQ(subStepWrites(), (Writes{{0x4015, 0x1E}}));
  EXPECT_EQ(channel(0).lastPeriod, tablePeriod(49));  // the muted channel keeps its state
  EXPECT_EQ(channel(1).lastPeriod, -1);
  EXPECT_FALSE(player.channelMaskChanged);

  audioFrames(1);
  setChannelMask(player, 0x1F);
  subSteps(1);
  const Writes w = frameWrites();
  const int32_t p = tablePeriod(49);
  EXPECT_EQ(Writes(w.begin() + 3, w.begin() + 5),
            (Writes{{0x4002, uint8_t(p & 0xFF)}, {0x4003, uint8_t(p >> 8)}}));
}

TEST_F(SubStep, RawSampleStreamsAboutOneByteEveryTwoSubStepsAndStops) {
  struct Case {
    const char* name;
    std::vector<uint8_t> data{};
    bool loop = false;
    uint32_t mask = 0x1F, before = 0;  // sub-steps before `change`
    void (*change)(Song&) = nullptr;
    std::vector<int> expected{};
  };
  const Case cases[] = {
      {.name = "plays to its end", .data = {10, 20, 30, 40}, .expected = {10, 10, 20, 20, 30, 30, 40, 40}},
      {.name = "muted track runs on silently", .data = {10, 20, 30, 40}, .mask = 0x0F},
      {.name = "empty slot streams nothing"},
      {.name = "emptied while streaming, never read again", .data = std::vector<uint8_t>(400, 70), .before = 100,
       .change = [](Song& s) { std::vector<uint8_t>().swap(s.samples[1].data); }},
      {.name = "replaced by a shorter one, stops at its end", .data = std::vector<uint8_t>(400, 70), .loop = true,
       .before = 200, .change = [](Song& s) { s.samples[1].data = std::vector<uint8_t>(20, 90); }},
      {.name = "in NTSC fewer bytes a sub-step: as many a second", .data = {10, 20, 30, 40, 50},
       .change = [](Song& s) { s.ntsc = true; }, .expected = {10, 10, 10, 20, 20, 30, 30, 40, 40, 50, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makeSample(1, c.data, c.loop);
    put(kPcmTrack, 0, 1);
    player.options.channelMask = c.mask;
    playSongFor(1);
    EXPECT_EQ(player.pcmSample, 1);
    subSteps(c.before);
    if (c.change) c.change(song);
    EXPECT_EQ(dacLevels(12), c.expected);
    EXPECT_EQ(player.pcmSample, 0);
  }
}

TEST_F(SubStep, LoopingRawSampleHoldsItsLastByteUntilTheNextFrame) {
  makeSample(1, {10, 20, 30, 40}, true);
  put(kPcmTrack, 0, 1);
  playSongFor(1);
  std::vector<int> expected = {10, 10, 20, 20, 30, 30, 40, 40};
  expected.resize(kSubStepsPerFrame, 40);
  EXPECT_EQ(dacLevels(kSubStepsPerFrame), expected);
  frames(1);
  EXPECT_EQ(dacLevels(3), (std::vector<int>{10, 10, 20}));
}

}  // namespace

}  // namespace qc
