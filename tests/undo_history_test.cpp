#include "editor/undo_history.h"

#include <cstring>

#include "key_test_support.h"

namespace qc {

namespace {

class UndoHistoryTest : public EditorTest {
 protected:
  static std::string undoKey() { return statusAfter('z', kModLCtrl); }
  static std::string redoKey() { return statusAfter('y', kModRCtrl); }
};

TEST_F(UndoHistoryTest, EachNoteIsItsOwnStepAndANewChangeDropsTheRedoSteps) {
  editMode();
  pressEach({'q', 'w'});
  EXPECT_EQ(undoKey(), "Undo");
  EXPECT_EQ(cellAt(0, 0).note, 37);
  EXPECT_TRUE(cellAt(0, 1).empty());
  undoKey();
  EXPECT_TRUE(cellAt(0, 0).empty());
  EXPECT_EQ(undoKey(), "Nothing to undo");
  redoKey();
  EXPECT_EQ(redoKey(), "Redo");
  EXPECT_EQ(cellAt(0, 1).note, 39);
  EXPECT_EQ(redoKey(), "Nothing to redo");

  undoKey();  // a new change drops the redo steps
  app.editor.cursorRow = 5;
  press('w');
  EXPECT_EQ(redoKey(), "Nothing to redo");
  EXPECT_TRUE(cellAt(0, 1).empty());
}

TEST_F(UndoHistoryTest, KeysThatChangeNothingLeaveNoStep) {
  pressEach({kKeyDown, kKeyF5});
  app.editor.focus = kFocusOrderList;
  press(kKeyLeft);  // entry 0 is already pattern 0
  EXPECT_EQ(undoKey(), "Nothing to undo");
}

TEST_F(UndoHistoryTest, BlocksAndTrackShiftsComeBackWhole) {
  editMode();
  for (int row = 0; row < kRows; ++row) cellAt(2, row).note = uint8_t(row + 1);
  const Pattern before = app.song.patterns[0];
  app.editor.cursorChannel = 2;
  app.editor.cursorRow = 3;
  press(kKeyInsert);
  app.editor.selectionEndChannel = 4;
  app.editor.selectionEndRow = 63;
  press('x', kModLCtrl);
  undoKey();
  undoKey();
  EXPECT_EQ(std::memcmp(&before, &app.song.patterns[0], sizeof(Pattern)), 0);
  EXPECT_EQ(app.clipboard.clipboardHeight, 64);  // the clipboard is no part of the song
}

TEST_F(UndoHistoryTest, OrderListChangesAreUndoneAndTheCursorFollows) {
  app.editor.focus = kFocusOrderList;
  pressEach({kKeyInsert, kKeyInsert, kKeyEnd});
  EXPECT_EQ(app.editor.orderCursor, 2);
  undoKey();
  EXPECT_EQ(app.song.orderCount, 2);
  EXPECT_EQ(app.editor.orderCursor, 1);
}

TEST_F(UndoHistoryTest, EnvelopeAndNameChangesAreUndone) {
  app.editor.focus = kFocusEnvelope;
  pressEach({kKeyInsert, kKeyDown});
  press(kKeyRight, kModLShift);
  undoKey();
  EXPECT_EQ(app.song.envelopes[1][kVolumeEnvelope].loop, 0);
  undoKey();
  undoKey();
  EXPECT_EQ(envelopeLength(app.song.envelopes[1][kVolumeEnvelope]), 1);

  app.editor.focus = kFocusInstrumentList;
  press(kKeyReturn, 0, '\r');
  for (char ch : std::string("ab")) type(ch);
  undoKey();
  EXPECT_EQ(app.song.instrumentNames[1], "a");
  EXPECT_EQ(app.editor.nameCursor, 1);
}

TEST_F(UndoHistoryTest, SampleOperationsAreUndone) {
  app.song.samples[1] = RawSample{{1, 2, 3, 4}, false, "kick"};
  app.editor.currentSample = 1;
  pressEach({kKeyF9, kKeyF8, kKeyF10});
  testing::internal::CaptureStdout();
  press(kKeyF7);
  testing::internal::GetCapturedStdout();
  undoKey();
  EXPECT_TRUE(app.song.samples[2].holdsData());
  undoKey();
  EXPECT_EQ(app.song.samples[1].data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_TRUE(app.song.samples[1].loop);
  undoKey();
  EXPECT_FALSE(app.song.samples[1].loop);
  undoKey();
  EXPECT_FALSE(app.song.samples[2].holdsData());
  EXPECT_FALSE(app.song.samples[3].holdsData());
  redoKey();
  EXPECT_EQ(app.song.samples[3].name, "1#kick");
}

TEST_F(UndoHistoryTest, VideoModeSwitchesAndIsUndoneWithANewClock) {
  app.player.clockChanged = false;
  EXPECT_EQ(statusAfter(kKeyPadPeriod), "Mode: NTSC");
  EXPECT_TRUE(app.song.ntsc);
  EXPECT_TRUE(app.player.clockChanged);
  EXPECT_EQ(statusAfter(kKeyPadPeriod), "Mode: PAL");
  app.player.clockChanged = false;
  undoKey();
  EXPECT_TRUE(app.song.ntsc);
  EXPECT_TRUE(app.player.clockChanged);
}

TEST_F(UndoHistoryTest, KeepsTheLatestThousandSteps) {
  editMode();
  app.editor.step = 0;
  for (int i = 0; i < int(kUndoDepth) + 5; ++i) press(i % 2 ? 'q' : 'w');
  for (size_t i = 0; i < kUndoDepth; ++i) undoKey();
  EXPECT_EQ(app.status.text, "Undo");
  EXPECT_EQ(cellAt(0, 0).note, 39);  // as the fifth note left it
  EXPECT_EQ(undoKey(), "Nothing to undo");
}

}  // namespace

}  // namespace qc
