#include "editor/file_command.h"
#include "key_test_support.h"

namespace qc {

namespace {

std::vector<FileCommand> ranCommands;

class GlobalKeysTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    ranCommands.clear();
    setFileCommandRunner([](FileCommand command) { ranCommands.push_back(command); });
  }
  void TearDown() override {
    setFileCommandRunner(nullptr);
    EditorTest::TearDown();
  }
};

TEST_F(GlobalKeysTest, WhileNamingPlayKeysAreIgnoredButShiftEscapeQuits) {
  app.editor.focus = kFocusInstrumentList;
  app.editor.naming = true;
  press(kKeyRCtrl, kModRCtrl);
  press(kKeyRAlt, kModRAlt);
  EXPECT_FALSE(app.player.playing);
  press(kKeyEscape, kModRShift, 27);
  EXPECT_FALSE(app.running);
}

// Where play stops and returns to is the sequencer's test.
TEST_F(GlobalKeysTest, SpaceStopsPlaybackElseTogglesEditModeLikeEscape) {
  press(kKeyEscape);
  EXPECT_TRUE(app.editor.editMode);
  press(kKeySpace, 0, ' ');
  EXPECT_FALSE(app.editor.editMode);
  press(kKeyRShift, kModRShift);
  EXPECT_TRUE(app.player.playing && app.player.playPatternOnly);
  press(kKeySpace);
  EXPECT_FALSE(app.player.playing);
  EXPECT_FALSE(app.editor.editMode);
}

TEST_F(GlobalKeysTest, FunctionKeysMoveTheFocus) {
  press(kKeyF2);
  EXPECT_EQ(app.editor.focus, kFocusInstrumentList);
  app.editor.naming = true;
  press(kKeyF3);
  EXPECT_EQ(app.editor.focus, kFocusOrderList);
  EXPECT_FALSE(app.editor.naming);
  app.editor.currentInstrument = 0;
  press(kKeyF4);
  EXPECT_EQ(app.editor.focus, kFocusOrderList);
  app.editor.currentInstrument = 2;
  press(kKeyF4);
  EXPECT_EQ(app.editor.focus, kFocusEnvelope);
  press(kKeyF1, kModLShift);  // neither plain nor Alt
  EXPECT_EQ(app.editor.focus, kFocusEnvelope);
  press(kKeyF1);
  EXPECT_EQ(app.editor.focus, kFocusPattern);
}

TEST_F(GlobalKeysTest, StepStaysWithinZeroToThirtyTwo) {
  app.editor.step = 0;
  press(kKeyF5);
  EXPECT_EQ(app.editor.step, 0);
  app.editor.step = 32;
  EXPECT_EQ(statusAfter(kKeyF6), "Current step: 32");
}

TEST_F(GlobalKeysTest, InstrumentChangeBringsCursorsIntoTheNewInstrument) {
  app.song.instrumentNames[2] = "bass";
  setEnvelope(app.song.envelopes[2][kNoteEnvelope], {64, 65});
  app.editor.envelopeCursor = {1, 5, 0};  // the volume envelope has one value
  press(kKeyPadPlus);
  EXPECT_EQ(app.editor.currentInstrument, 2);
  EXPECT_EQ(app.editor.nameCursor, 4);
  EXPECT_EQ(app.editor.envelopeCursor, (std::array<int32_t, 3>{0, 1, 0}));
  press(kKeyPad0 + 9);
  EXPECT_EQ(app.editor.currentInstrument, 9);
  app.editor.currentInstrument = 1;
  app.editor.focus = kFocusEnvelope;
  press(kKeyF3, kModLAlt);
  EXPECT_EQ(app.editor.currentInstrument, 1);  // the envelope editor never shows slot 0
  app.editor.currentInstrument = 15;
  press(kKeyF4, kModLAlt);
  EXPECT_EQ(app.editor.currentInstrument, 15);
}

TEST_F(GlobalKeysTest, SampleSelectionReportsTheSlot) {
  app.song.samples[26] = RawSample{std::vector<uint8_t>(1234, 64), false, "kick"};
  app.editor.currentSample = 25;
  EXPECT_EQ(statusAfter(kKeyF6, kModLAlt), "Current raw sample: 0x1a (kick, 1234 bytes, not looping)");
  EXPECT_EQ(statusAfter(kKeyF8), "Current raw sample: 0x1a (kick, 1234 bytes, looping)");
  EXPECT_EQ(statusAfter(kKeyPadPlus, kModLAlt), "Current raw sample: 0x1b (empty)");
  press(kKeyF8);
  EXPECT_EQ(app.status.text, "Current raw sample: 0x1b (empty)");
  app.editor.currentSample = 2;
  press(kKeyPadMinus, kModLAlt);
  press(kKeyF5, kModLAlt);
  press(kKeyF5, kModLAlt);
  EXPECT_EQ(app.editor.currentSample, 0);
  EXPECT_EQ(app.status.text, "Current raw sample: no sample");
}

TEST_F(GlobalKeysTest, SampleAndInstrumentCommandsNeedASelection) {
  app.editor.currentInstrument = 0;
  const std::string noSample = "No raw sample selected (Alt +/- to select)";
  EXPECT_EQ(statusAfter(kKeyF9), noSample);
  EXPECT_EQ(statusAfter(kKeyF10), noSample);
  EXPECT_EQ(statusAfter('l', kModLAlt | kModLShift), noSample);
  EXPECT_EQ(statusAfter('s', kModLAlt | kModLShift | kModLCtrl), noSample);
  EXPECT_EQ(statusAfter('l', kModLAlt | kModLCtrl), "No instrument selected");
  EXPECT_EQ(statusAfter('s', kModLAlt | kModLCtrl), "No instrument selected");
  EXPECT_TRUE(ranCommands.empty());
}

TEST_F(GlobalKeysTest, FileKeysFollowTheLeftModifiersAndNeedAHost) {
  app.editor.currentSample = 3;
  for (const int32_t mod : {kModLAlt, kModLAlt | kModLCtrl, kModLAlt | kModLShift}) press('l', mod);
  for (const int32_t mod : {kModLShift, kModLAlt, kModLAlt | kModLCtrl, kModLAlt | kModLShift,
                            kModLAlt | kModLShift | kModLCtrl})
    press('s', mod);
  for (const int32_t mod : {kModLAlt, kModLAlt | kModLShift}) press('w', mod);
  press('s', kModRAlt);  // the right Alt starts no file command
  EXPECT_EQ(ranCommands,
            (std::vector<FileCommand>{FileCommand::OpenModule, FileCommand::LoadInstrument,
                                      FileCommand::LoadRawSample, FileCommand::ExportNsf, FileCommand::SaveModule,
                                      FileCommand::SaveInstrument, FileCommand::ExportRom,
                                      FileCommand::SaveOptimizedSamples, FileCommand::ExportAudio}));
  setFileCommandRunner(nullptr);
  EXPECT_EQ(statusAfter('s', kModLAlt), "File selection canceled.");
}

}  // namespace

}  // namespace qc
