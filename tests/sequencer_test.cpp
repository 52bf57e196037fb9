#include <vector>

#include "playback/loop_point.h"
#include "player_test_support.h"

namespace qc {

namespace {

class Sequencer : public PlayerTest {
 protected:
  // Frames each row lasts, for the next `rows` rows.
  std::vector<int> rowLengths(int rows) {
    std::vector<int> lengths;
    int count = 0;
    for (int row = player.playRow; int(lengths.size()) < rows;) {
      frames(1);
      ++count;
      if (player.playRow != row) {
        lengths.push_back(count);
        count = 0;
        row = player.playRow;
      }
    }
    return lengths;
  }
  // Plays `count` frames, then checks where they left the song.
  void expectPositionAfter(int count, int order, int row) {
    frames(count);
    EXPECT_EQ(player.playOrder, order);
    EXPECT_EQ(player.playRow, row);
  }
  // Frames (counted from the start) on which a full-volume click starts, with its period.
  std::vector<std::pair<int, int>> clicks(int frameCount) {
    std::vector<std::pair<int, int>> found;
    for (int f = 0; f < frameCount; ++f) {
      const Writes w = frameWrites();
      for (size_t i = 0; i + 2 < w.size(); ++i)
        if (w[i] == RegisterWrite{0x9000, 0x7F} && w[i + 1].address == 0x9001 &&
            (found.empty() || found.back().first < f - 1))
          found.push_back({f, w[i + 1].value | (w[i + 2].value & 7) << 8});
    }
    return found;
  }
};

TEST_F(Sequencer, RowsLastAsLongInBothStandardsUnderEitherTiming) {
  playSong();
  EXPECT_EQ(rowLengths(4), (std::vector<int>{6, 6, 6, 6}));
  EXPECT_EQ(player.tempoAccumulator, 16) << "an ordinary advance keeps the remainder";
  player.playRow = 63;
  channel(0).vibratoPos = 20;
  channel(0).arpStep = 2;
  rowLengths(1);
  EXPECT_EQ(player.tempoAccumulator, 0) << "a pattern change drops it";
  EXPECT_EQ(channel(0).vibratoPos, 0) << "and restarts the vibrato and arpeggio cycles";
  EXPECT_EQ(channel(0).arpStep, 0);

  song.ntsc = true;
  playSong();
  EXPECT_EQ(rowLengths(4), (std::vector<int>{7, 6, 7, 6}));

  // The cartridge's: 5333 a frame, rounded down, the remainder kept across patterns.
  player.options.rowTiming = RowTiming::kCartridge;
  playSong();
  EXPECT_EQ(rowLengths(8), (std::vector<int>{8, 7, 7, 7, 8, 7, 7, 7}));
  song.ntsc = false;
  playSong();
  EXPECT_EQ(rowLengths(3), (std::vector<int>{7, 6, 6}));
  player.playRow = 63;
  rowLengths(1);
  EXPECT_EQ(player.tempoAccumulator, 5331 - 6);
}

TEST_F(Sequencer, SpeedAndTempoEffects) {
  put(0, 0, 0, 0, 0xF, "01");
  put(0, 1, 0, 0, 0xF, "FF");  // 65280 a frame: a row every frame
  playSong();
  expectPositionAfter(5, 0, 5);

  song.patterns[0] = Pattern{};
  put(0, 0, 49, 1, 0xA, "01");
  put(1, 0, 0, 0, 0xF, "00");  // rows stop, tick effects run on
  playSongFor(10);
  EXPECT_EQ(player.playRow, 0);
  EXPECT_EQ(player.playTick, 10);
  EXPECT_EQ(channel(0).volume, 15 - 9);

  // F1F is a speed, F20 a tempo; a restart keeps them.
  song.patterns[0] = Pattern{};
  put(0, 0, 0, 0, 0xF, "1F");
  put(1, 0, 0, 0, 0xF, "20");
  playSongFor(1);
  stopPlayback(player);
  song.patterns[0] = Pattern{};
  playSongFor(1);
  EXPECT_EQ(player.speed, 31);
  EXPECT_EQ(player.tempo, 32);
}

TEST_F(Sequencer, PatternBreakReadsDecimalDigitsAndTheLaterChannelWins) {
  song.orderCount = 2;
  for (const auto& [digits, row] : {std::pair{"1A", 20}, {"63", 63}, {"64", 0}}) {
    put(0, 0, 0, 0, 0xD, digits);
    playSong();
    expectPositionAfter(6, 1, row);
  }
  put(2, 0, 0, 0, 0xD, "30");
  playSong();
  expectPositionAfter(6, 1, 30);
}

TEST_F(Sequencer, JumpsBreaksAndTheEndOfTheOrderList) {
  song.orderCount = 4;
  song.orders = {0, 1, 2, 3};
  put(0, 0, 0, 0, 0xB, "03");
  put(1, 0, 0, 0, 0xD, "08");
  put(0, 5, 0, 0, 0xB, "90", 3);  // beyond the order list: its last entry
  playSong();
  expectPositionAfter(6, 1, 8);  // the break first; the jump waits a row
  expectPositionAfter(6, 3, 0);
  player.playRow = 5;
  expectPositionAfter(6, 3, 0);
  player.playRow = 63;
  expectPositionAfter(6, 0, 0);

  // A break left pending by a stop is taken on the next play.
  put(0, 0, 0, 0, 0xD, "10");
  put(1, 0, 0, 0, 0x0, "00");
  playSongFor(1);
  stopPlayback(player);
  song.patterns[0] = Pattern{};
  playSong();
  expectPositionAfter(6, 1, 10);
}

TEST_F(Sequencer, RepeatBlockLoopsBetweenItsMarksInOneOrder) {
  song.orderCount = 2;
  player.options.repeatBlock = true;
  player.options.repeatStartRow = 20;  // marks as Ctrl+Up leaves them
  player.options.repeatEndRow = 8;
  playSong();
  EXPECT_EQ(player.playRow, 8);
  expectPositionAfter(6 * 13, 0, 8);
  // Entered from outside, it runs through row 63 and row 0 first.
  playFromCursor(player, 0, 40);
  expectPositionAfter(6 * 24, 0, 0);
  expectPositionAfter(6 * 21, 0, 8);
}

TEST_F(Sequencer, PlayFromCursorHoldsTheOrderAndReturnsToItsRowOnStop) {
  song.orderCount = 3;
  put(0, 0, 0, 0, 0xD, "05", 1);
  put(0, 5, 0, 0, 0xB, "02", 1);
  song.orders = {0, 1, 2};
  playFromCursor(player, 1, 12);
  player.playRow = 0;
  expectPositionAfter(12, 1, 0);
  player.playRow = 63;
  expectPositionAfter(6, 1, 0);
  stopPlayback(player);
  EXPECT_FALSE(player.playing);
  EXPECT_TRUE(player.silenceRequest);
  EXPECT_EQ(player.playRow, 12);
}

TEST_F(Sequencer, ObserverHearsEveryRowAdvanceAndAPlayerWithoutEngineOnlyCaptures) {
  std::vector<std::pair<int, int>> heard;
  player.onRowAdvance = [&](int32_t order, int32_t row) { heard.push_back({order, row}); };
  playSongFor(12);
  EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}}));

  Player silent(song, nullptr, player.options);
  silent.options.metronome = true;
  put(0, 0, 49, 1);
  qc::playSong(silent, 0);
  for (int i = 0; i < 12; ++i) playerFrame(silent);
  playerSubStep(silent);
  EXPECT_EQ(silent.capture.field[kCapPulse1DutyVolume], 0x2F);
}

TEST_F(Sequencer, IdleFrameOnlyStepsThePreviewedChannels) {
  setEnvelope(song.envelopes[1][kVolumeEnvelope], {15, 10, 5});
  resetPlayer(player);
  triggerNote(player, 0, Cell{49, 0x01, 0});
  frames(2);
  EXPECT_EQ(player.playTick, 0);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2A);
}

TEST_F(Sequencer, MetronomeClicksOnBarsAndBeatsOneFrameLateAndFades) {
  player.options.metronome = true;
  playSong();
  std::vector<int> volumes;
  for (int f = 0; f < 8; ++f)
    for (const RegisterWrite& w : frameWrites())
      if (w.address == 0x9000) volumes.push_back(w.value);
  EXPECT_EQ(volumes, (std::vector<int>{0, 0x7F, 0x7F, 0x7C, 0x79, 0x73, 0x70, 0}));

  playSong();
  EXPECT_EQ(clicks(6 * 17), (std::vector<std::pair<int, int>>{{1, 105}, {25, 210}, {49, 210}, {73, 210}, {97, 105}}));
  // Starting on the row it last looked at (16, a bar) gives no click there.
  playFromCursor(player, 0, 16);
  EXPECT_TRUE(clicks(6).empty());
  song.ntsc = true;
  playSong();
  EXPECT_EQ(clicks(30), (std::vector<std::pair<int, int>>{{1, 113}, {27, 226}}));
}

// Entries are the start and every move to another order or an earlier row.
// Where a song loops, and to which pass, the exports' tests check.
TEST(LoopPoint, AnotherOrderIsAnEntryEvenAtALaterRow) {
  LoopPointFinder finder(0, 0);
  EXPECT_FALSE(finder.entered(0, 5));
  EXPECT_TRUE(finder.entered(1, 5));
}

}  // namespace

}  // namespace qc
