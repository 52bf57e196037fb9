#include "key_test_support.h"

namespace qc {

namespace {

class EnvelopeEditorTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    app.editor.focus = kFocusEnvelope;
  }
  Envelope& envelope(int kind) { return app.song.envelopes[1][kind]; }
  std::vector<int32_t> values(int kind) {
    const Envelope& env = envelope(kind);
    return {env.values, env.values + envelopeLength(env)};
  }
};

TEST_F(EnvelopeEditorTest, OneValueCannotBeDeletedAndInsertDuplicatesUpToEightyThree) {
  press(kKeyDelete);
  EXPECT_EQ(values(kVolumeEnvelope), (std::vector<int32_t>{15}));
  press(kKeyInsert);
  EXPECT_EQ(values(kVolumeEnvelope), (std::vector<int32_t>{15, 15}));
  for (int i = 0; i < 90; ++i) press(kKeyInsert);
  EXPECT_EQ(envelopeLength(envelope(kVolumeEnvelope)), kMaxEnvelopeLength);
}

TEST_F(EnvelopeEditorTest, DeleteAndBackspacePullCursorAndLoopBack) {
  setEnvelope(envelope(kVolumeEnvelope), {10, 11, 12}, 2);
  app.editor.envelopeCursor[kVolumeEnvelope] = 2;
  press(kKeyDelete);
  EXPECT_EQ(values(kVolumeEnvelope), (std::vector<int32_t>{10, 11}));
  EXPECT_EQ(app.editor.envelopeCursor[kVolumeEnvelope], 1);
  EXPECT_EQ(envelope(kVolumeEnvelope).loop, 1);

  setEnvelope(envelope(kVolumeEnvelope), {10, 11, 12}, 1);
  app.editor.envelopeCursor[kVolumeEnvelope] = 1;
  press(kKeyBackspace);
  EXPECT_EQ(values(kVolumeEnvelope), (std::vector<int32_t>{11, 12}));
  EXPECT_EQ(app.editor.envelopeCursor[kVolumeEnvelope], 0);
  EXPECT_EQ(envelope(kVolumeEnvelope).loop, 0);
  press(kKeyBackspace);
  EXPECT_EQ(values(kVolumeEnvelope).size(), 2u);
  setEnvelope(envelope(kVolumeEnvelope), {10, 11, 12}, 2);
  app.editor.envelopeCursor[kVolumeEnvelope] = 1;
  press(kKeyBackspace);
  EXPECT_EQ(envelope(kVolumeEnvelope).loop, 1);
}

TEST_F(EnvelopeEditorTest, ValuesStayInTheirKindsRange) {
  setEnvelope(envelope(kVolumeEnvelope), {15});
  press(kKeyUp);
  EXPECT_EQ(values(kVolumeEnvelope)[0], 15);
  press(kKeyPageUp);
  EXPECT_EQ(app.editor.selectedEnvelope, kDutyEnvelope);
  press(kKeyUp);
  press(kKeyUp);
  EXPECT_EQ(values(kDutyEnvelope)[0], 3);
  press(kKeyReturn);  // only the note envelope has fixed notes
  EXPECT_EQ(values(kDutyEnvelope)[0], 3);

  app.editor.selectedEnvelope = kNoteEnvelope;  // note values keep to their half
  setEnvelope(envelope(kNoteEnvelope), {127});
  press(kKeyUp);
  EXPECT_EQ(values(kNoteEnvelope)[0], 127);
  press(kKeyReturn);
  EXPECT_EQ(values(kNoteEnvelope)[0], 255);
  press(kKeyUp);
  EXPECT_EQ(values(kNoteEnvelope)[0], 255);
  setEnvelope(envelope(kNoteEnvelope), {128});
  press(kKeyDown);
  EXPECT_EQ(values(kNoteEnvelope)[0], 128);
}

TEST_F(EnvelopeEditorTest, ShiftMovesTheLoopInsteadOfTheCursor) {
  setEnvelope(envelope(kVolumeEnvelope), {1, 2, 3});
  press(kKeyRight, kModRShift);
  press(kKeyRight, kModRShift);
  press(kKeyRight, kModRShift);
  EXPECT_EQ(envelope(kVolumeEnvelope).loop, 2);
  EXPECT_EQ(app.editor.envelopeCursor[kVolumeEnvelope], 0);
  press(kKeyEnd);
  press(kKeyHome, kModLShift);
  EXPECT_EQ(app.editor.envelopeCursor[kVolumeEnvelope], 2);
  EXPECT_EQ(envelope(kVolumeEnvelope).loop, 0);
}

TEST_F(EnvelopeEditorTest, AnEnvelopeWithoutSentinelIsEditedSafely) {
  Envelope& env = envelope(kVolumeEnvelope);
  std::fill(env.values, env.values + kEnvelopeValueSlots, 5);
  app.editor.envelopeCursor[kVolumeEnvelope] = 83;
  press(kKeyInsert);
  press(kKeyDelete);
  EXPECT_EQ(envelopeLength(env), 83);
}

}  // namespace

}  // namespace qc
