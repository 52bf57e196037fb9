#include <vector>

#include "player_test_support.h"

namespace {

class ChannelEffects : public PlayerTest {
 protected:
  // Pulse 1's written period on each of the next `count` frames.
  static std::vector<int32_t> pulsePeriods(int count) {
    std::vector<int32_t> periods;
    for (int i = 0; i < count; ++i) {
      playerFrame();
      periods.push_back(capturedPeriod(0));
    }
    return periods;
  }
  static std::vector<int32_t> pulseVolumes(int count) {
    std::vector<int32_t> volumes;
    for (int i = 0; i < count; ++i) {
      playerFrame();
      volumes.push_back(captured(kCapPulse1DutyVolume) & 0x0F);
    }
    return volumes;
  }
};

TEST_F(ChannelEffects, ArpeggioCyclesBaseFirstThenSecondDigit) {
  put(0, 0, 49, 1, 0x0, "37");
  playSong();
  const int32_t base = tablePeriod(49), third = tablePeriod(52), fifth = tablePeriod(56);
  EXPECT_EQ(pulsePeriods(6), (std::vector<int32_t>{base, third, fifth, base, third, fifth}));
}

TEST_F(ChannelEffects, PortamentoUpAndDownMoveByTheirSpeedFromTheSecondTick) {
  put(0, 0, 49, 1, 0x1, "02");
  put(0, 1, 0, 0, 0x2, "10");
  playSong();
  const int32_t p = tablePeriod(49);
  EXPECT_EQ(pulsePeriods(6), (std::vector<int32_t>{p, p - 2, p - 4, p - 6, p - 8, p - 10}));
  EXPECT_EQ(pulsePeriods(3), (std::vector<int32_t>{p - 10, p + 6, p + 22}));
}

TEST_F(ChannelEffects, PortamentoKeepsGrowingPastTheClampedPeriod) {
  put(0, 0, 13, 1, 0x2, "FF");
  put(1, 0, 0, 0, 0xF, "00");
  playSong();
  frames(40);
  EXPECT_EQ(capturedPeriod(0), 2047);
  EXPECT_EQ(channel(0).periodOffset, 39 * 255);
}

TEST_F(ChannelEffects, PortamentoWithoutParameterKeepsItsSpeed) {
  put(0, 0, 49, 1, 0x1, "04");
  put(0, 1, 0, 0, 0x1, "00");
  playSong();
  frames(7);
  EXPECT_EQ(channel(0).portaSpeed, 4);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(49) - 5 * 4);
  playerFrame();
  EXPECT_EQ(capturedPeriod(0), tablePeriod(49) - 6 * 4);
}

TEST_F(ChannelEffects, TonePortamentoSlidesTheNewNoteInFromTheOldPitch) {
  put(0, 0, 49, 1, 0xC, "0A");  // volume 10, so a restart to 15 would show
  put(0, 1, 53, 1, 0x3, "08");
  put(0, 2, 0, 0, 0x3, "00");
  playSong();
  frames(6);
  const int32_t from = tablePeriod(49), to = tablePeriod(53);
  ASSERT_GT(from - to, 8 * 5);
  const auto periods = pulsePeriods(6);
  EXPECT_EQ(periods, (std::vector<int32_t>{from, from - 8, from - 16, from - 24, from - 32, from - 40}));
  EXPECT_EQ(channel(0).volume, 10);
  EXPECT_EQ(channel(0).period, to);
  ASSERT_EQ(channel(0).periodOffset, from - to - 40);
  frames(2);
  EXPECT_EQ(channel(0).periodOffset, 0);  // stops at the target, never past it
}

TEST_F(ChannelEffects, VibratoFollowsTheSineAndItsOffsetOutlivesTheRow) {
  put(0, 0, 49, 1, 0x4, "48");
  playSong();
  const int32_t p = tablePeriod(49);
  EXPECT_EQ(pulsePeriods(6), (std::vector<int32_t>{p, p, p + 6, p + 11, p + 14, p + 15}));
  EXPECT_EQ(pulsePeriods(2), (std::vector<int32_t>{p + 15, p + 15}));
  put(0, 2, 49, 1);
  frames(4);
  playerFrame();
  EXPECT_EQ(capturedPeriod(0), p);
}

TEST_F(ChannelEffects, VibratoTurnsNegativeInTheSecondHalfOfItsCycle) {
  put(0, 0, 49, 1, 0x4, "CF");
  playSong();
  frames(4);  // positions 0, 12, 24 used; the next step reads position 36
  playerFrame();
  EXPECT_EQ(channel(0).periodOffset, -11);
}

TEST_F(ChannelEffects, TremoloOffsetsTheVolumeByAQuarterOfTheAmplitude) {
  put(0, 0, 49, 1, 0x7, "CF");
  playSong();
  EXPECT_EQ(pulseVolumes(6), (std::vector<int32_t>{15, 15, 15, 15, 13, 8}));
  EXPECT_EQ(channel(0).tremoloOffset, -7);
}

TEST_F(ChannelEffects, VolumeSlideStartsOnTheSecondTickAndKeepsItsRate) {
  put(0, 0, 49, 1, 0xA, "03");
  put(0, 1, 0, 0, 0xA, "00");
  playSong();
  EXPECT_EQ(pulseVolumes(6), (std::vector<int32_t>{15, 12, 9, 6, 3, 0}));
  app.player.channels[0].volume = 15;
  EXPECT_EQ(pulseVolumes(2), (std::vector<int32_t>{15, 12}));
}

TEST_F(ChannelEffects, TonePortamentoWithVolumeSlideDoesBoth) {
  put(0, 0, 49, 1, 0xC, "0A");
  put(0, 1, 53, 1, 0x3, "02");
  put(0, 2, 0, 0, 0x5, "20");
  playSong();
  frames(12);
  const int32_t offset = channel(0).periodOffset;
  frames(3);
  EXPECT_EQ(channel(0).volume, 10 + 2 * 2);
  EXPECT_EQ(channel(0).periodOffset, offset - 2 * 2);
}

TEST_F(ChannelEffects, VibratoWithVolumeSlideDoesBoth) {
  put(0, 0, 49, 1, 0x4, "48");
  put(0, 1, 0, 0, 0x6, "01");
  playSong();
  frames(6);
  frames(3);
  EXPECT_EQ(channel(0).volume, 13);
  EXPECT_EQ(channel(0).vibratoPos, (20 + 2 * 4) & 63);
}

TEST_F(ChannelEffects, VolumeAndDutyCommandSetsVolumeAndOptionallyDuty) {
  setEnvelope(app.song.envelopes[1][kDutyEnvelope], {1});
  put(0, 0, 49, 1, 0xC, "05");
  put(0, 1, 0, 0, 0xC, "35");
  put(0, 3, 49, 1);
  playSong();
  frames(1);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x15);  // a note in the same cell keeps volume 5
  frames(6);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x25);
  frames(6);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x25);  // the duty holds until the next note
  frames(6);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x1F);
}

TEST_F(ChannelEffects, NoteOffWithInstrumentRestartsAtNoteZero) {
  put(0, 0, 49, 1);
  put(0, 1, kNoteOff, 1);
  playSong();
  frames(7);
  EXPECT_EQ(channel(0).note, 0);
  EXPECT_EQ(channel(0).volume, 15);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2F);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(0));
}

TEST_F(ChannelEffects, NoteOffAloneSilences) {
  put(0, 0, 49, 1);
  put(0, 1, kNoteOff, 0);
  playSong();
  frames(7);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x20);
  EXPECT_EQ(captured(kCapPulse1High), -1);
  EXPECT_EQ(captured(kCapPulse1Low), -1);
}

TEST_F(ChannelEffects, InstrumentAloneRestartsEnvelopesAtTheSamePitch) {
  setEnvelope(app.song.envelopes[2][kVolumeEnvelope], {15, 10, 5});
  setEnvelope(app.song.envelopes[2][kDutyEnvelope], {2});
  put(0, 0, 49, 2, 0xC, "08");
  put(0, 1, 0, 2);
  playSong();
  frames(6);
  EXPECT_EQ(captured(kCapPulse1DutyVolume) & 0x0F, 8 * 5 / 15);
  frames(1);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2F);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(49));
}

TEST_F(ChannelEffects, EnvelopesPlayOnePerFrameThenRepeatFromTheLoop) {
  setEnvelope(app.song.envelopes[1][kVolumeEnvelope], {15, 12, 9, 6}, 2);
  put(0, 0, 49, 1);
  playSong();
  EXPECT_EQ(pulseVolumes(7), (std::vector<int32_t>{15, 12, 9, 6, 9, 6, 9}));
}

TEST_F(ChannelEffects, NoteEnvelopeShiftsOrFixesTheNote) {
  setEnvelope(app.song.envelopes[1][kNoteEnvelope], {64, 76, 0x80 | 25});
  put(0, 0, 49, 1);
  playSong();
  EXPECT_EQ(pulsePeriods(3), (std::vector<int32_t>{tablePeriod(49), tablePeriod(61), tablePeriod(25)}));
}

TEST_F(ChannelEffects, FinePitchMovesThePeriodOnToneChannels) {
  put(0, 0, 49, 1);
  put(0, 1, 0, 0, 0xE, "13");
  put(0, 2, 0, 0, 0xE, "24");
  playSong();
  frames(7);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(49) - 3);
  frames(6);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(49) + 1);
}

TEST_F(ChannelEffects, FinePitchMovesTheNoiseNoteByOne) {
  put(3, 0, 1, 1);
  put(3, 1, 0, 0, 0xE, "10");
  put(3, 2, 0, 0, 0xE, "20");
  put(3, 3, 0, 0, 0xE, "20");
  playSong();
  frames(1);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 14);
  frames(6);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 13);
  frames(6);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 14);
  frames(6);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 15);
}

TEST_F(ChannelEffects, FineVolumeStepsOnceAndRemembersItsValue) {
  put(0, 0, 49, 1, 0xC, "08");
  put(0, 1, 0, 0, 0xE, "A3");
  put(0, 2, 0, 0, 0xE, "A0");
  put(0, 3, 0, 0, 0xE, "B5");
  playSong();
  frames(6 + 6);
  EXPECT_EQ(channel(0).volume, 11);
  frames(6);
  EXPECT_EQ(channel(0).volume, 14);
  frames(6);
  EXPECT_EQ(channel(0).volume, 9);
}

TEST_F(ChannelEffects, NoteDelayTriggersOnTheGivenTick) {
  put(0, 0, 49, 1);
  put(0, 1, 53, 1, 0xE, "D2");
  playSong();
  frames(6);
  const int32_t old = tablePeriod(49);
  EXPECT_EQ(pulsePeriods(4), (std::vector<int32_t>{old, old, tablePeriod(53), tablePeriod(53)}));
}

TEST_F(ChannelEffects, TriangleIsSilentAtVolumeSevenAndSoundsAtEight) {
  put(2, 0, 49, 1, 0xC, "07");
  put(2, 1, 49, 1, 0xC, "08");
  playSong();
  recordedWrites.clear();
  frames(1);
  EXPECT_EQ(captured(kCapTriangleOn), 0);
  EXPECT_EQ(captured(kCapTriangleHigh), -1);
  EXPECT_EQ(captured(kCapTriangleLow), -1);
  EXPECT_EQ(recordedWrites.front(), (RegisterWrite{0x4008, 0x00}));
  frames(5);
  recordedWrites.clear();
  frames(1);
  EXPECT_EQ(captured(kCapTriangleOn), 255);
  EXPECT_EQ(captured(kCapTriangleHigh) << 8 | captured(kCapTriangleLow), tablePeriod(49));
  EXPECT_EQ(recordedWrites.front(), (RegisterWrite{0x4008, 0xFF}));
}

TEST_F(ChannelEffects, NoiseNotesSixteenApartShareAPeriodAndModeComesFromTheDutyEnvelope) {
  setEnvelope(app.song.envelopes[2][kVolumeEnvelope], {15});
  setEnvelope(app.song.envelopes[2][kDutyEnvelope], {3});
  put(3, 0, 1, 1);
  put(3, 1, 17, 1);
  put(3, 2, 33, 2);
  put(3, 3, 16, 2);
  playSong();
  frames(1);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 14);
  frames(6);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 14);
  recordedWrites.clear();
  frames(6);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 0x10 | 14);
  EXPECT_EQ(captured(kCapNoiseVolume), 15);
  frames(6);
  EXPECT_EQ(captured(kCapNoiseModePeriod), 0x10 | 15);
}

TEST_F(ChannelEffects, RawSampleTriggerIsCapturedOnlyOnTheRowsFirstTick) {
  put(kPcmTrack, 0, 5);
  playSong();
  frames(1);
  EXPECT_EQ(captured(kCapSample), 5);
  EXPECT_EQ(app.player.pcmSample, 5);
  frames(1);
  EXPECT_EQ(captured(kCapSample), 0);
  frames(5);
  EXPECT_EQ(captured(kCapSample), 0);
}

TEST_F(ChannelEffects, NotesAboveTheTableSoundAsNote95) {
  put(0, 0, 120, 1);
  playSong();
  frames(1);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(95));
}

}  // namespace
