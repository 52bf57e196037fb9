#include "editor/pointing.h"

#include "editor/channel_mask.h"
#include "key_test_support.h"

namespace {

using Cursor = std::array<int32_t, 3>;  // track, column, row

Cursor cursor() { return {app.editor.cursorChannel, app.editor.cursorColumn, app.editor.cursorRow}; }

class PointingTest : public EditorTest {};

TEST_F(PointingTest, PatternFieldsOutsideTheRangesAreClampedAndTheFocusMoves) {
  app.editor.focus = kFocusInstrumentList;
  app.editor.naming = true;
  app.editor.selectionAnchorSet = true;
  pointPatternField(9, 3, 200);
  EXPECT_EQ(cursor(), (Cursor{4, 0, 63}));  // the PCM track has its note column only
  EXPECT_EQ(app.editor.focus, kFocusPattern);
  EXPECT_FALSE(app.editor.naming);
  EXPECT_FALSE(app.editor.selectionAnchorSet);
  pointPatternField(-1, 7, -5);
  EXPECT_EQ(cursor(), (Cursor{0, 4, 0}));
}

TEST_F(PointingTest, WheelMovesThePatternCursorByTheStepWithoutWrapping) {
  app.editor.step = 4;
  wheelPattern(2);
  EXPECT_EQ(app.editor.cursorRow, 8);
  wheelPattern(-3);
  EXPECT_EQ(app.editor.cursorRow, 0);
  app.editor.step = 0;
  app.editor.cursorRow = 62;
  wheelPattern(5);
  EXPECT_EQ(app.editor.cursorRow, 63);
}

TEST_F(PointingTest, OrderListTakesOnlyExistingPositions) {
  app.song.orderCount = 3;
  pointOrderEntry(3);
  pointOrderEntry(-1);
  EXPECT_EQ(app.editor.focus, kFocusPattern);
  pointOrderEntry(2);
  EXPECT_EQ(app.editor.orderCursor, 2);
  EXPECT_EQ(app.editor.focus, kFocusOrderList);
  wheelOrderList(4);  // as Down, stopping at the last entry
  EXPECT_EQ(app.editor.orderCursor, 2);
  wheelOrderList(-1);
  EXPECT_EQ(app.editor.orderCursor, 1);
}

TEST_F(PointingTest, InstrumentListSelectsWithTheFixUpAndEndsNamingOnAnotherSlot) {
  app.song.instrumentNames[5] = "bass";
  app.editor.envelopeCursor[kVolumeEnvelope] = 50;
  app.editor.naming = true;
  pointInstrument(1);
  EXPECT_TRUE(app.editor.naming);  // the name being typed stays
  pointInstrument(5);
  EXPECT_FALSE(app.editor.naming);
  EXPECT_EQ(app.editor.focus, kFocusInstrumentList);
  EXPECT_EQ(app.editor.nameCursor, 4);
  EXPECT_LT(app.editor.envelopeCursor[kVolumeEnvelope], 50);
  pointInstrument(16);
  wheelInstrumentList(20);
  EXPECT_EQ(app.editor.currentInstrument, 15);
}

TEST_F(PointingTest, EnvelopeStepsNeedAnInstrumentAndAStepThatExists) {
  setEnvelope(app.song.envelopes[1][kNoteEnvelope], {64, 65, 66});
  pointEnvelope(kNoteEnvelope, 2);
  EXPECT_EQ(app.editor.focus, kFocusEnvelope);
  EXPECT_EQ(app.editor.selectedEnvelope, kNoteEnvelope);
  EXPECT_EQ(app.editor.envelopeCursor[kNoteEnvelope], 2);
  pointEnvelope(kNoteEnvelope, 3);  // past the end: the kind only
  EXPECT_EQ(app.editor.envelopeCursor[kNoteEnvelope], 2);
  wheelEnvelope(kNoteEnvelope, -5);
  EXPECT_EQ(app.editor.envelopeCursor[kNoteEnvelope], 0);

  app.editor.currentInstrument = 0;
  app.editor.focus = kFocusPattern;
  pointEnvelope(kVolumeEnvelope, 0);
  wheelEnvelope(kVolumeEnvelope, 1);
  pointEnvelope(7, 0);
  EXPECT_EQ(app.editor.focus, kFocusPattern);
  EXPECT_EQ(app.editor.selectedEnvelope, kNoteEnvelope);
}

TEST_F(PointingTest, MuteAndSoloOfATrackAreThoseOfCtrlMAndCtrlS) {
  app.editor.cursorChannel = 2;
  press('m', kModLCtrl);
  const uint32_t byKey = app.editor.channelMask;
  toggleMute(2);
  toggleMute(2);
  EXPECT_EQ(app.editor.channelMask, byKey);
  soloTrack(2);
  EXPECT_EQ(app.editor.channelMask, 1u << 2);
  press('s', kModLCtrl);
  EXPECT_EQ(app.editor.channelMask, 31u);
  toggleMute(5);
  soloTrack(-1);
  EXPECT_EQ(app.editor.channelMask, 31u);
}

}  // namespace
