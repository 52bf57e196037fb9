#include "key_test_support.h"

namespace qc {

namespace {

class InstrumentListTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    app.editor.focus = kFocusInstrumentList;
  }
  static void startNaming() { press(kKeyReturn, 0, '\r'); }
  static std::string& name() { return app.song.instrumentNames[app.editor.currentInstrument]; }
};

TEST_F(InstrumentListTest, ChoosingClampsAndMovesTheNameCursor) {
  app.song.instrumentNames[5] = "lead";
  press(kKeyPageDown);
  EXPECT_EQ(app.editor.currentInstrument, 5);
  EXPECT_EQ(app.editor.nameCursor, 4);
  press(kKeyEnd);
  press(kKeyDown);
  EXPECT_EQ(app.editor.currentInstrument, 15);
  press(kKeyHome);
  press(kKeyUp);
  EXPECT_EQ(app.editor.currentInstrument, 0);
}

TEST_F(InstrumentListTest, TypingEditsTheNameAtTheCursor) {
  startNaming();
  for (char ch : std::string("Bas")) type(ch);
  press(kKeyLeft);
  press(kKeyLeft);
  type('x');
  EXPECT_EQ(name(), "Bxas");
  press(kKeyBackspace, 0, 8);
  press(kKeyDelete, 0, 127);
  EXPECT_EQ(name(), "Bs");
  press(kKeyEnd);
  press(kKeyTab, 0, 9);
  EXPECT_EQ(name(), "Bs    ");
  EXPECT_EQ(app.editor.nameCursor, 6);
  press(kKeyReturn, 0, '\r');
  EXPECT_FALSE(app.editor.naming);
}

TEST_F(InstrumentListTest, AFullNameTakesNothingMoreAndSpaceFallsThrough) {
  startNaming();
  for (int i = 0; i < 35; ++i) type('a' + i % 26);
  EXPECT_EQ(name().size(), size_t(kMaxNameLength));
  press(kKeyTab, 0, 9);
  EXPECT_EQ(name().size(), size_t(kMaxNameLength));
  type(' ');
  EXPECT_TRUE(app.editor.editMode);
  name() = std::string(28, 'n');
  app.editor.nameCursor = 28;
  press(kKeyTab, 0, 9);
  EXPECT_EQ(name(), std::string(28, 'n') + "  ");
}

TEST_F(InstrumentListTest, SlotZeroHasNoNameNamingSoundsNoPreviewAndF1EndsIt) {
  app.editor.currentInstrument = 0;
  startNaming();
  type('a');
  press(kKeyBackspace, 0, 8);
  EXPECT_EQ(app.song.instrumentNames[0], "");
  EXPECT_FALSE(app.editor.editMode);  // the character was consumed
  app.editor.currentInstrument = 1;
  type('q');
  EXPECT_TRUE(app.preview.heldPianoKeys.empty());
  press(kKeyF1);
  EXPECT_FALSE(app.editor.naming);
  EXPECT_EQ(app.editor.focus, kFocusPattern);
}

}  // namespace

}  // namespace qc
