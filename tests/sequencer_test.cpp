#include <vector>

#include "player_test_support.h"

namespace {

using Sequencer = PlayerTest;

// Marks set in the order a Ctrl+Up run leaves them: the start above the end.
void markRepeatBlockFrom20To8() {
  app.song.orderCount = 2;
  app.editor.repeatBlock = true;
  app.editor.repeatStartRow = 20;
  app.editor.repeatEndRow = 8;
}

// Frames each row lasts, for the first `rows` rows after a start.
std::vector<int> rowLengths(int rows) {
  std::vector<int> lengths;
  int count = 0;
  int row = app.player.playRow;
  while (int(lengths.size()) < rows) {
    playerFrame();
    ++count;
    if (app.player.playRow != row) {
      lengths.push_back(count);
      count = 0;
      row = app.player.playRow;
    }
  }
  return lengths;
}

TEST_F(Sequencer, PalRowsLastSixFramesAtSpeedSixTempo125) {
  playSong();
  EXPECT_EQ(rowLengths(10), std::vector<int>(10, 6));
}

TEST_F(Sequencer, NtscRowsAlternateSevenAndSixFrames) {
  app.song.ntsc = true;
  playSong();
  EXPECT_EQ(rowLengths(4), (std::vector<int>{7, 6, 7, 6}));
}

TEST_F(Sequencer, OrdinaryAdvanceKeepsTheRemainderAndPatternChangeDropsIt) {
  playSong();
  frames(6);
  EXPECT_EQ(app.player.playRow, 1);
  EXPECT_EQ(app.player.tempoAccumulator, 4);
  app.player.playRow = 63;
  frames(6);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.player.tempoAccumulator, 0);
}

TEST_F(Sequencer, CartridgeTimingRoundsDownAndKeepsTheRemainderAcrossPatterns) {
  app.player.rowTiming = RowTiming::kCartridge;
  playSong();
  // Increment 5333: the first row takes 7 frames, then the remainder shrinks by 2 a row.
  EXPECT_EQ(rowLengths(3), (std::vector<int>{7, 6, 6}));
  EXPECT_EQ(app.player.tempoAccumulator, 5331 - 2 - 2);
  app.player.playRow = 63;
  rowLengths(1);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.player.tempoAccumulator, 5331 - 6) << "a pattern change keeps the remainder";
}

TEST_F(Sequencer, CartridgeTimingInNtscUsesItsOwnThreshold) {
  app.player.rowTiming = RowTiming::kCartridge;
  app.song.ntsc = true;
  EXPECT_EQ(rowThreshold(), 38400);
  playSong();
  // 5333 a frame against 38400.
  EXPECT_EQ(rowLengths(8), (std::vector<int>{8, 7, 7, 7, 8, 7, 7, 7}));
}

TEST_F(Sequencer, SpeedOneTempo255AdvancesEveryFrame) {
  put(0, 0, 0, 0, 0xF, "01");
  put(0, 1, 0, 0, 0xF, "FF");
  playSong();
  frames(2);
  EXPECT_EQ(app.player.playRow, 2);
  frames(3);
  EXPECT_EQ(app.player.playRow, 5);
}

TEST_F(Sequencer, F00StopsRowsWhileTickEffectsRunOn) {
  put(0, 0, 49, 1, 0xA, "01");  // volume slide down by 1 per tick
  put(1, 0, 0, 0, 0xF, "00");
  playSong();
  frames(10);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.player.playTick, 10);
  EXPECT_EQ(channel(0).volume, 15 - 9);
}

TEST_F(Sequencer, F1FSetsSpeedAndF20SetsTempoAcrossARestart) {
  put(0, 0, 0, 0, 0xF, "1F");
  put(1, 0, 0, 0, 0xF, "20");
  playSong();
  frames(1);
  EXPECT_EQ(app.player.speed, 31);
  EXPECT_EQ(app.player.tempo, 32);
  stopPlayback();
  app.song.patterns[0] = Pattern{};
  playSong();
  frames(1);
  EXPECT_EQ(app.player.speed, 31);
  EXPECT_EQ(app.player.tempo, 32);
}

TEST_F(Sequencer, PatternBreakReadsItsDigitsAsDecimal) {
  app.song.orderCount = 2;
  put(0, 0, 0, 0, 0xD, "1A");
  playSong();
  frames(6);
  EXPECT_EQ(app.player.playOrder, 1);
  EXPECT_EQ(app.player.playRow, 20);

  playSong();
  put(0, 0, 0, 0, 0xD, "63");
  frames(6);
  EXPECT_EQ(app.player.playRow, 63);

  playSong();
  put(0, 0, 0, 0, 0xD, "64");
  frames(6);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.player.playOrder, 1);
}

TEST_F(Sequencer, LaterChannelsPatternBreakWins) {
  app.song.orderCount = 2;
  put(0, 0, 0, 0, 0xD, "10");
  put(2, 0, 0, 0, 0xD, "30");
  playSong();
  frames(6);
  EXPECT_EQ(app.player.playRow, 30);
}

TEST_F(Sequencer, OrderJumpBeyondTheOrderListGoesToItsLastEntry) {
  app.song.orderCount = 3;
  app.song.orders = {0, 1, 2};
  put(0, 5, 0, 0, 0xB, "50");
  playSong();
  app.player.playRow = 5;
  frames(6);
  EXPECT_EQ(app.player.playOrder, 2);
  EXPECT_EQ(app.player.playRow, 0);
}

TEST_F(Sequencer, BreakIsTakenBeforeAJumpInTheSameRow) {
  app.song.orderCount = 4;
  app.song.orders = {0, 1, 2, 3};
  put(0, 0, 0, 0, 0xB, "03");
  put(1, 0, 0, 0, 0xD, "08");
  playSong();
  frames(6);
  EXPECT_EQ(app.player.playOrder, 1);
  EXPECT_EQ(app.player.playRow, 8);
  EXPECT_EQ(app.player.pendingOrderJump, 3);
  frames(6);  // one row of the break's target plays, then the jump
  EXPECT_EQ(app.player.playOrder, 3);
  EXPECT_EQ(app.player.playRow, 0);
}

TEST_F(Sequencer, RunningPastTheLastOrderWrapsToTheFirst) {
  app.song.orderCount = 2;
  playSong();
  app.player.playOrder = 1;
  app.player.playRow = 63;
  frames(6);
  EXPECT_EQ(app.player.playOrder, 0);
  EXPECT_EQ(app.player.playRow, 0);
}

TEST_F(Sequencer, RepeatBlockLoopsFromItsHigherMarkToItsLowerWithoutChangingOrder) {
  markRepeatBlockFrom20To8();
  playSong();
  EXPECT_EQ(app.player.playRow, 8);
  frames(6 * 12);
  EXPECT_EQ(app.player.playRow, 20);
  frames(6);
  EXPECT_EQ(app.player.playRow, 8);
  EXPECT_EQ(app.player.playOrder, 0);
}

TEST_F(Sequencer, RepeatBlockEnteredFromOutsideRunsThroughRow63First) {
  markRepeatBlockFrom20To8();
  app.editor.cursorRow = 40;
  playFromCursor();
  frames(6 * 24);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.player.playOrder, 0);
  frames(6 * 21);
  EXPECT_EQ(app.player.playRow, 8);
}

TEST_F(Sequencer, PlayPatternOnlyKeepsTheOrderOnBreaksJumpsAndPatternEnd) {
  app.song.orderCount = 3;
  app.song.orders = {0, 1, 2};
  app.editor.orderCursor = 1;
  put(0, 0, 0, 0, 0xD, "05", 1);
  put(0, 5, 0, 0, 0xB, "02", 1);
  playFromCursor();
  frames(6);
  EXPECT_EQ(app.player.playRow, 5);
  frames(6);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.player.playOrder, 1);
  app.player.playRow = 63;
  frames(6);
  EXPECT_EQ(app.player.playOrder, 1);
}

TEST_F(Sequencer, PatternChangeRestartsVibratoAndArpeggioCycles) {
  put(0, 63, 49, 1, 0x4, "48");
  playSong();
  app.player.playRow = 63;
  frames(5);
  EXPECT_NE(channel(0).vibratoPos, 0);
  frames(1);
  EXPECT_EQ(channel(0).vibratoPos, 0);
  EXPECT_EQ(channel(0).arpStep, 0);
}

TEST_F(Sequencer, CursorFollowsThePlayingRowExceptInExportMode) {
  playSong();
  frames(6);
  EXPECT_EQ(app.editor.cursorRow, 1);
  app.player.exportMode = true;
  frames(6);
  EXPECT_EQ(app.player.playRow, 2);
  EXPECT_EQ(app.editor.cursorRow, 1);
  app.player.exportMode = false;
  app.editor.cursorFollow = false;
  frames(6);
  EXPECT_EQ(app.editor.cursorRow, 1);
}

TEST_F(Sequencer, ExportModeWritesNoRegister) {
  app.editor.metronome = true;
  put(0, 0, 49, 1);
  playSong();
  app.player.exportMode = true;
  frames(12);
  EXPECT_TRUE(recordedWrites.empty());
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2F);
}

TEST_F(Sequencer, PlayFromCursorReturnsToItsRowOnStop) {
  app.editor.cursorRow = 12;
  playFromCursor();
  EXPECT_TRUE(app.player.playPatternOnly);
  frames(12);
  EXPECT_EQ(app.player.playRow, 14);
  stopPlayback();
  EXPECT_FALSE(app.player.playing);
  EXPECT_TRUE(app.player.silenceRequest);
  EXPECT_EQ(app.player.playRow, 12);
  EXPECT_EQ(app.player.returnRow, -1);
}

TEST_F(Sequencer, PendingBreakSurvivesStopAndIsTakenOnTheNextPlay) {
  app.song.orderCount = 2;
  put(0, 0, 0, 0, 0xD, "10");
  playSong();
  frames(1);
  stopPlayback();
  app.song.patterns[0] = Pattern{};
  playSong();
  frames(6);
  EXPECT_EQ(app.player.playRow, 10);
  EXPECT_EQ(app.player.playOrder, 1);
}

TEST_F(Sequencer, IdleFrameOnlyStepsThePreviewedChannels) {
  setEnvelope(app.song.envelopes[1][kVolumeEnvelope], {15, 10, 5});
  Cell preview;
  preview.note = 49;
  preview.setInstrument(1);
  triggerNote(0, preview);
  frames(2);
  EXPECT_EQ(app.player.playTick, 0);
  EXPECT_EQ(channel(0).envVolume, 5);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2A);
}

struct Click {
  int frame;
  int period;
};

std::vector<Click> clicks(int frameCount) {
  std::vector<Click> found;
  for (int f = 0; f < frameCount; ++f) {
    recordedWrites.clear();
    playerFrame();
    for (size_t i = 0; i + 2 < recordedWrites.size(); ++i)
      if (recordedWrites[i].address == 0x9000 && recordedWrites[i].value == (15 | 0x70) &&
          recordedWrites[i + 1].address == 0x9001 && (f == 0 || found.empty() || found.back().frame < f - 1))
        found.push_back({f, recordedWrites[i + 1].value | (recordedWrites[i + 2].value & 7) << 8});
  }
  return found;
}

TEST_F(Sequencer, MetronomeClicksOnBarsAndBeatsOneFrameLate) {
  app.editor.metronome = true;
  playSong();
  const auto found = clicks(6 * 17);
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found[0].frame, 1);
  EXPECT_EQ(found[0].period, 105);
  EXPECT_EQ(found[1].frame, 6 * 4 + 1);
  EXPECT_EQ(found[1].period, 210);
  EXPECT_EQ(found[4].frame, 6 * 16 + 1);
  EXPECT_EQ(found[4].period, 105);
}

TEST_F(Sequencer, MetronomeClickFadesOverSixFrames) {
  app.editor.metronome = true;
  playSong();
  std::vector<int> volumes;
  for (int f = 0; f < 8; ++f) {
    recordedWrites.clear();
    playerFrame();
    for (const RegisterWrite& w : recordedWrites)
      if (w.address == 0x9000) volumes.push_back(w.value);
  }
  EXPECT_EQ(volumes, (std::vector<int>{0, 0x7F, 0x7F, 0x7C, 0x79, 0x73, 0x70, 0}));
}

TEST_F(Sequencer, MetronomeUsesLongerPeriodsInNtsc) {
  app.song.ntsc = true;
  app.editor.metronome = true;
  app.player.playRow = 0;
  playSong();
  const auto found = clicks(7 * 5);
  ASSERT_GE(found.size(), 2u);
  EXPECT_EQ(found[0].period, 113);
  EXPECT_EQ(found[1].period, 226);
}

TEST_F(Sequencer, MetronomeMissesTheClickOfTheRowItLastLookedAt) {
  app.editor.metronome = true;
  put(0, 4, 0, 0, 0xF, "00");
  playSong();
  frames(6 * 4 + 8);  // row 4 clicked and the click has faded
  stopPlayback();
  app.editor.cursorRow = 4;
  playFromCursor();
  EXPECT_TRUE(clicks(8).empty());
  app.player.lastClickRow = -1;
  playFromCursor();
  EXPECT_EQ(clicks(8).size(), 1u);
}

}  // namespace
