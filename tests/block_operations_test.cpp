#include "editor/block_operations.h"

#include "key_test_support.h"

namespace qc {

namespace {

class BlockOperationsTest : public EditorTest {
 protected:
  static void select(int firstTrack, int firstRow, int lastTrack, int lastRow) {
    EditorState& e = app.editor;
    e.selectionStartChannel = lastTrack;  // either order spans the same block
    e.selectionEndChannel = firstTrack;
    e.selectionStartRow = lastRow;
    e.selectionEndRow = firstRow;
  }
};

TEST_F(BlockOperationsTest, PasteNearTheCornerDropsWhatDoesNotFit) {
  for (int row = 10; row <= 12; ++row)
    for (int track = 1; track <= 2; ++track) cellAt(track, row) = Cell{uint8_t(row), uint8_t(track), 0};
  select(1, 10, 2, 12);
  press('c', kModLCtrl);
  EXPECT_EQ(app.clipboard.clipboardWidth, 2);
  EXPECT_EQ(app.clipboard.clipboardHeight, 3);
  app.editor.cursorChannel = 4;
  app.editor.cursorRow = 62;
  press('v', kModLCtrl);
  EXPECT_EQ(cellAt(4, 62), (Cell{10, 1, 0}));
  EXPECT_EQ(cellAt(4, 63), (Cell{11, 1, 0}));
  int filled = 0;  // nothing wraps around or spills into the next pattern
  for (int pattern = 0; pattern < 2; ++pattern)
    for (int track = 0; track < kChannels; ++track)
      for (int row = 0; row < kRows; ++row) filled += !cellAt(track, row, pattern).empty();
  EXPECT_EQ(filled, 6 + 2);
}

TEST_F(BlockOperationsTest, CutEmptiesTheBlockMixPasteKeepsWhatIsUnderEmptyCellsClearKeepsTheClipboard) {
  cellAt(0, 0) = Cell{37, 1, 0};
  cellAt(0, 2) = Cell{40, 2, 0};
  select(0, 0, 0, 2);
  press('x', kModLCtrl);
  EXPECT_TRUE(cellAt(0, 0).empty());
  EXPECT_TRUE(cellAt(0, 2).empty());
  cellAt(1, 21) = Cell{50, 3, 0x11};
  app.editor.cursorChannel = 1;
  app.editor.cursorRow = 20;
  press('v', kModLCtrl | kModLShift);
  EXPECT_EQ(cellAt(1, 20), (Cell{37, 1, 0}));
  EXPECT_EQ(cellAt(1, 21), (Cell{50, 3, 0x11}));
  EXPECT_EQ(cellAt(1, 22), (Cell{40, 2, 0}));
  press('v', kModLCtrl | kModRShift);  // only the left Shift mixes
  EXPECT_TRUE(cellAt(1, 21).empty());
  select(1, 22, 1, 22);
  press('d', kModLCtrl);
  EXPECT_TRUE(cellAt(1, 22).empty());
  EXPECT_EQ(app.clipboard.cells[0], (Cell{37, 1, 0})) << "clearing leaves the clipboard alone";
}

TEST_F(BlockOperationsTest, TransposeStopsAtOneAndOneHundredTwentySeven) {
  cellAt(0, 0).note = 127;
  cellAt(0, 1).note = 1;
  cellAt(0, 2).note = kNoteOff;
  cellAt(0, 3).note = 60;
  cellAt(4, 0).note = 200;  // a sample number on the PCM track
  select(0, 0, 4, 3);
  app.clipboard.clipboardWidth = 1;
  app.clipboard.clipboardHeight = 1;
  press(kKeyUp, kModLShift);
  EXPECT_EQ(cellAt(0, 0).note, 127);
  EXPECT_EQ(cellAt(0, 3).note, 61);
  EXPECT_EQ(cellAt(0, 2).note, kNoteOff);
  EXPECT_EQ(cellAt(4, 0).note, 200);
  EXPECT_TRUE(cellAt(1, 0).empty());
  press(kKeyDown, kModLShift);
  press(kKeyDown, kModLShift);
  EXPECT_EQ(cellAt(0, 1).note, 1);
  EXPECT_EQ(app.editor.cursorRow, 0);
  EXPECT_EQ(app.clipboard.clipboardWidth, 1);  // transpose leaves the clipboard's shape alone
}

TEST_F(BlockOperationsTest, OperationsWorkOnThePatternTheOrderListShows) {
  app.song.orderCount = 2;
  app.song.orders[1] = 6;
  app.editor.orderCursor = 1;
  cellAt(0, 0, 6) = Cell{37, 1, 0};
  select(0, 0, 0, 0);
  press('x', kModLCtrl);
  EXPECT_TRUE(cellAt(0, 0, 6).empty());
  app.editor.orderCursor = 0;
  press('v', kModLCtrl);
  EXPECT_EQ(cellAt(0, 0, 0), (Cell{37, 1, 0}));
}

}  // namespace

}  // namespace qc
