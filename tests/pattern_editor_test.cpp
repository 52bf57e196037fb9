#include "editor/pattern_editor.h"

#include "key_test_support.h"

namespace qc {

namespace {

using Cursor = std::array<int32_t, 3>;  // track, column, row

class PatternEditorTest : public EditorTest {
 protected:
  static Cursor cursor() { return {app.editor.cursorChannel, app.editor.cursorColumn, app.editor.cursorRow}; }
};

TEST_F(PatternEditorTest, PianoKeysFollowTheOctaveAndClampToEnterableNotes) {
  editMode();
  app.editor.step = 1;
  press('q');
  press('z');
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
  app.editor.cursorColumn = 2;
  press('c');
  app.editor.cursorColumn = 3;
  press('1');
  app.editor.cursorColumn = 4;
  press('2');
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
  press('q');
  press(kKeyDelete);
  press(kKeyInsert);
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
  press(kKeyLAlt, kModLAlt);
  press(kKeyDown, kModLAlt);
  press(kKeyDown, kModLAlt);
  press(kKeyRight, kModLAlt);
  EXPECT_EQ((std::array{e.selectionStartRow, e.selectionEndRow, e.selectionStartChannel, e.selectionEndChannel}),
            (std::array{10, 12, 0, 1}));
  press(kKeyLAlt, kModLAlt);
  press(kKeyUp, kModLAlt);
  EXPECT_EQ((std::array{e.selectionStartRow, e.selectionEndRow}), (std::array{12, 11}));
  press(kKeyLCtrl, kModLCtrl);
  press(kKeyUp, kModLCtrl);
  EXPECT_EQ((std::array{e.repeatStartRow, e.repeatEndRow}), (std::array{11, 10}));
}

TEST_F(PatternEditorTest, SoloTwiceMakesEveryTrackAudibleAgain) {
  app.editor.cursorChannel = 2;
  app.editor.channelMaskChanged = false;
  press('s', kModLCtrl);
  EXPECT_EQ(app.editor.channelMask, 4u);
  EXPECT_TRUE(app.editor.channelMaskChanged);
  press('s', kModLCtrl);
  EXPECT_EQ(app.editor.channelMask, 31u);
  press('m', kModLCtrl);
  EXPECT_EQ(app.editor.channelMask, 27u);
  EXPECT_EQ(app.status.text, "");  // Ctrl+S is no save
}

}  // namespace

}  // namespace qc
