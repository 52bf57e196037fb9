// Entering notes, moving the cursor, and the block operations on a selection.
#include "editor/block_operations.h"
#include "editor/pattern_editor.h"

#include "key_test_support.h"

namespace qc {

namespace {

using Cursor = std::array<int32_t, 3>;  // track, column, row

class PatternEditorTest : public EditorTest {
 protected:
  static Cursor cursor() { return {app.editor.cursorChannel, app.editor.cursorColumn, app.editor.cursorRow}; }
  static void select(int firstTrack, int firstRow, int lastTrack, int lastRow) {
    EditorState& e = app.editor;
    e.selectionStartChannel = lastTrack;  // either order spans the same block
    e.selectionEndChannel = firstTrack;
    e.selectionStartRow = lastRow;
    e.selectionEndRow = firstRow;
  }
};

TEST_F(PatternEditorTest, PianoKeysFollowTheOctaveAndClampToEnterableNotes) {
  editMode();
  app.editor.step = 1;
  pressEach({'q', 'z'});
  EXPECT_EQ(cellAt(0, 0).note, 37);  // C-3
  EXPECT_EQ(cellAt(0, 1).note, 25);  // C-2
  app.editor.octave = 9;
  press('p');
  EXPECT_EQ(cellAt(0, 2).note, 120);
  app.editor.octave = 0;
  cellAt(0, 3).setInstrument(7);
  app.editor.currentInstrument = 0;  // keeps the cell's instrument
  press('z');
  EXPECT_EQ(cellAt(0, 3).note, 1);
  EXPECT_EQ(cellAt(0, 3).instrument(), 7);
  EXPECT_EQ(cellAt(0, 0).instrument(), 1);
}

TEST_F(PatternEditorTest, OctaveKeysStopAtZeroAndNine) {
  app.editor.octave = 0;
  EXPECT_EQ(statusAfter(kKeyF1, kModLAlt), "Current octave: 0");
  EXPECT_EQ(app.editor.octave, 0);
  app.editor.octave = 9;
  press(kKeyPadMultiply);
  press(kKeyF2, kModRAlt);
  EXPECT_EQ(app.editor.octave, 9);
  EXPECT_EQ(statusAfter(kKeyPadDivide), "Current octave: 8");
}

TEST_F(PatternEditorTest, StepAdvancesWithWrapAndZeroStaysPut) {
  editMode();
  app.editor.step = 4;
  app.editor.cursorRow = 62;
  press('q');
  EXPECT_EQ(app.editor.cursorRow, 2);
  app.editor.step = 0;
  press('w');
  EXPECT_EQ(app.editor.cursorRow, 2);
  EXPECT_EQ(cellAt(0, 2).note, 39);
}

TEST_F(PatternEditorTest, NoteOffClearsInstrumentKeepsEffectAndTakesNoInstrumentDigit) {
  editMode();
  cellAt(1, 0) = Cell{37, 0x35, 0x21};
  app.editor.cursorChannel = 1;
  press(kKeyBackslash);
  EXPECT_EQ(cellAt(1, 0), (Cell{kNoteOff, 0x30, 0x21}));
  EXPECT_EQ(app.editor.cursorRow, 1);
  app.editor.cursorRow = 0;
  app.editor.cursorColumn = 1;
  press('5');
  EXPECT_EQ(cellAt(1, 0).instrument(), 0);
  EXPECT_EQ(app.editor.cursorRow, 0);
}

TEST_F(PatternEditorTest, ParameterDigitsAreStoredSwapped) {
  editMode();
  app.editor.step = 0;
  for (const auto& [column, key] : {std::pair{2, 'c'}, {3, '1'}, {4, '2'}}) {
    app.editor.cursorColumn = column;
    press(key);
  }
  EXPECT_EQ(cellAt(0, 0).effect(), 12);
  EXPECT_EQ(cellAt(0, 0).param, 0x21);
  EXPECT_EQ(cellAt(0, 0).paramValue(), 0x12);
}

TEST_F(PatternEditorTest, PcmTrackTakesTheCurrentSampleNumber) {
  editMode();
  app.editor.cursorChannel = kPcmTrack;
  app.editor.currentSample = 0x1a;
  press('x');
  EXPECT_EQ(cellAt(4, 0).note, 0x1a);
  press(kKeyReturn);
  EXPECT_EQ(cellAt(4, 1).note, 0);
}

TEST_F(PatternEditorTest, NothingIsWrittenOutsideEditMode) {
  app.editor.cursorColumn = 2;
  pressEach({'q', kKeyDelete, kKeyInsert});
  app.editor.cursorColumn = 0;
  press('q');
  EXPECT_TRUE(cellAt(0, 0).empty());
  EXPECT_EQ(app.editor.cursorRow, 0);
}

TEST_F(PatternEditorTest, CursorWrapsAcrossTracksAndRows) {
  app.editor.cursorChannel = 3;
  app.editor.cursorColumn = 4;
  const struct {
    int32_t sym, mod, fromRow;
    Cursor expected;
  } steps[] = {
      {kKeyRight, 0, 0, {4, 0, 0}},      {kKeyRight, 0, 0, {0, 0, 0}},      {kKeyLeft, 0, 0, {4, 0, 0}},
      {kKeyLeft, 0, 0, {3, 4, 0}},       {kKeyUp, 0, 0, {3, 4, 63}},        {kKeyDown, 0, 63, {3, 4, 0}},
      {kKeyPageUp, 0, 5, {3, 4, 0}},     {kKeyPageDown, 0, 50, {3, 4, 63}}, {kKeyPageDown, 0, 10, {3, 4, 26}},
      {kKeyHome, kModLAlt, 63, {3, 4, 63}}, {kKeyHome, 0, 63, {3, 4, 0}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << "key " << step.sym << " mod " << step.mod << " from row " << step.fromRow);
    app.editor.cursorRow = step.fromRow;
    press(step.sym, step.mod);
    EXPECT_EQ(cursor(), step.expected);
  }
}

TEST_F(PatternEditorTest, TabMovesByTrackAndShiftTabFirstReturnsToTheNoteColumn) {
  app.editor.cursorChannel = 4;
  press(kKeyTab);
  EXPECT_EQ(cursor(), (Cursor{0, 0, 0}));
  app.editor.cursorColumn = 3;
  press(kKeyTab, kModRShift);
  EXPECT_EQ(cursor(), (Cursor{0, 0, 0}));
  press(kKeyTab, kModLShift);
  EXPECT_EQ(cursor(), (Cursor{4, 0, 0}));
}

TEST_F(PatternEditorTest, BackspaceAndInsertShiftOnlyTheCursorTrack) {
  editMode();
  for (int row = 0; row < kRows; ++row) cellAt(0, row).note = uint8_t(row + 1);
  cellAt(1, 10).note = 99;
  press(kKeyBackspace);
  EXPECT_EQ(cellAt(0, 0).note, 1);
  app.editor.cursorRow = 63;
  press(kKeyInsert);
  EXPECT_EQ(cellAt(0, 62).note, 63);
  EXPECT_TRUE(cellAt(0, 63).empty());
  app.editor.cursorRow = 10;
  press(kKeyBackspace);
  EXPECT_EQ(app.editor.cursorRow, 9);
  EXPECT_EQ(cellAt(0, 9).note, 11);
  EXPECT_TRUE(cellAt(0, 63).empty());
  press(kKeyInsert);
  EXPECT_TRUE(cellAt(0, 9).empty());
  EXPECT_EQ(cellAt(0, 10).note, 11);
  EXPECT_EQ(cellAt(1, 10).note, 99);
}

TEST_F(PatternEditorTest, AltAndCtrlRunsMarkFromWhereTheyStart) {
  const EditorState& e = app.editor;
  app.editor.cursorRow = 10;
  pressEach({kKeyLAlt, kKeyDown, kKeyDown, kKeyRight}, kModLAlt);
  EXPECT_EQ((std::array{e.selectionStartRow, e.selectionEndRow, e.selectionStartChannel, e.selectionEndChannel}),
            (std::array{10, 12, 0, 1}));
  pressEach({kKeyLAlt, kKeyUp}, kModLAlt);
  EXPECT_EQ((std::array{e.selectionStartRow, e.selectionEndRow}), (std::array{12, 11}));
  pressEach({kKeyLCtrl, kKeyUp}, kModLCtrl);
  EXPECT_EQ((std::array{e.repeatStartRow, e.repeatEndRow}), (std::array{11, 10}));
}

TEST_F(PatternEditorTest, SoloTwiceMakesEveryTrackAudibleAgain) {
  app.editor.cursorChannel = 2;
  app.editor.channelMaskChanged = false;
  press('s', kModLCtrl);
  EXPECT_EQ(app.editor.channelMask, 4u);
  EXPECT_TRUE(app.editor.channelMaskChanged);
  press('s', kModLCtrl);
  press('m', kModLCtrl);  // all audible again, then track 2 muted
  EXPECT_EQ(app.editor.channelMask, 27u);
  EXPECT_EQ(app.status.text, "");  // Ctrl+S is no save
}

TEST_F(PatternEditorTest, BlockPasteNearTheCornerDropsWhatDoesNotFit) {
  for (int row = 10; row <= 12; ++row)
    for (int track = 1; track <= 2; ++track) cellAt(track, row) = Cell{uint8_t(row), uint8_t(track), 0};
  select(1, 10, 2, 12);
  press('c', kModLCtrl);
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

TEST_F(PatternEditorTest, BlockCutEmptiesTheBlockMixPasteKeepsWhatIsUnderEmptyCellsClearKeepsTheClipboard) {
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

TEST_F(PatternEditorTest, BlockTransposeStopsAtOneAndOneHundredTwentySeven) {
  cellAt(0, 0).note = 127;
  cellAt(0, 1).note = 1;
  cellAt(0, 2).note = kNoteOff;
  cellAt(0, 3).note = 60;
  cellAt(4, 0).note = 200;  // a sample number on the PCM track
  select(0, 0, 4, 3);
  app.clipboard.clipboardWidth = app.clipboard.clipboardHeight = 1;
  press(kKeyUp, kModLShift);
  EXPECT_EQ((std::array{cellAt(0, 0).note, cellAt(0, 2).note, cellAt(0, 3).note, cellAt(4, 0).note}),
            (std::array<uint8_t, 4>{127, kNoteOff, 61, 200}));
  EXPECT_TRUE(cellAt(1, 0).empty());
  pressEach({kKeyDown, kKeyDown}, kModLShift);
  EXPECT_EQ(cellAt(0, 1).note, 1);
  EXPECT_EQ(app.editor.cursorRow, 0);
  EXPECT_EQ(app.clipboard.clipboardWidth, 1);  // transpose leaves the clipboard's shape alone
}

TEST_F(PatternEditorTest, BlockOperationsWorkOnThePatternTheOrderListShows) {
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
