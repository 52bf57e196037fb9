#include <vector>

#include "player_test_support.h"

namespace qc {

namespace {

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
  playSong();
  frames(1);
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
  playSong();
  frames(3);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x0F);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(95));  // fixed note 127, looked up as 95
  EXPECT_EQ(captured(kCapPulse2DutyVolume) & 0x0F, 0);  // no values: silence
}

}  // namespace

}  // namespace qc
