#include <vector>

#include "player_test_support.h"

namespace qc {

namespace {

class SubStep : public PlayerTest {
 protected:
  SubStep() { player.channelMaskChanged = false; }
  // The levels written to 0x4011 during the next `count` sub-steps.
  std::vector<int> dacLevels(int count) {
    std::vector<int> levels;
    for (int i = 0; i < count; ++i) {
      writes.clear();
      subSteps(1);
      for (const RegisterWrite& w : writes)
        if (w.address == 0x4011) levels.push_back(w.value);
    }
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
  writes.clear();
  subSteps(1);
  EXPECT_EQ(writes, (Writes{{0x4000, 0x30}, {0x4004, 0x30}, {0x4008, 0x00}, {0x400C, 0x30},
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
  writes.clear();
  subSteps(1);
  EXPECT_EQ(writes, (Writes{{0x4000, 0x30}, {0x4004, 0x30}, {0x4008, 0x00}, {0x400C, 0x30}, {0x4015, 0x1F},
                            {0x9000, 0x00}}));
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
  writes.clear();
  subSteps(1);
  EXPECT_EQ(writes, (Writes{{0x4015, 0x1E}}));
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
    playSong();
    frames(1);
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
  playSong();
  frames(1);
  std::vector<int> expected = {10, 10, 20, 20, 30, 30, 40, 40};
  expected.resize(kSubStepsPerFrame, 40);
  EXPECT_EQ(dacLevels(kSubStepsPerFrame), expected);
  frames(1);
  EXPECT_EQ(dacLevels(3), (std::vector<int>{10, 10, 20}));
}

}  // namespace

}  // namespace qc
