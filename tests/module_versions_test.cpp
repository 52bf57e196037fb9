#include <gtest/gtest.h>

#include "song/app_state.h"
#include "tests/module_bytes.h"

namespace {

class ModuleVersions : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
};

std::vector<int32_t> values(const Envelope& e) {
  return std::vector<int32_t>(e.values, e.values + std::max(envelopeLength(e), 0));
}

TEST_F(ModuleVersions, VersionZeroHasFourTracksUnbiasedNotesAndNoSamples) {
  app.song.samples[3].data = {1, 2, 3};
  app.song.samples[3].name = "old";
  FileBytes f = moduleHeader(0, 1, 2, 1);
  addInstrument(f, "lead", {15, 8}, {0, 12}, {2});
  add(f, {0, 0});
  addPattern(f, 4, 3, 63, 37, 0x21, 0x43);  // last cell of the noise track
  ASSERT_TRUE(loadModuleImage(f));

  EXPECT_EQ(values(app.song.envelopes[1][kNoteEnvelope]), (std::vector<int32_t>{64, 76}));
  EXPECT_EQ(app.song.instrumentNames[1], "lead");
  EXPECT_EQ(app.song.patterns[0].cells[3][63], (Cell{37, 0x21, 0x43}));
  for (const Cell& c : app.song.patterns[0].cells[kPcmTrack]) EXPECT_TRUE(c.empty());
  for (const RawSample& s : app.song.samples) {
    EXPECT_FALSE(s.holdsData());
    EXPECT_TRUE(s.name.empty());
  }
  EXPECT_FALSE(app.song.ntsc);
  EXPECT_EQ(app.song.orderCount, 2);
}

TEST_F(ModuleVersions, VersionOneBiasesNotesAndReadsSixteenBitSampleLengths) {
  FileBytes f = moduleHeader(1, 1, 1, 1);
  addInstrument(f, "", {15}, {0, 12, 244}, {0});  // 244 is -12 stored as a signed byte
  add(f, {0});
  addPattern(f, 5, 4, 0, 1, 0, 0);
  add(f, {4});
  addText(f, "kick");
  add(f, {3, 0, 1, 10, 20, 30});  // length 3, looping
  addEmptySamples(f, 254);
  ASSERT_TRUE(loadModuleImage(f));

  EXPECT_EQ(values(app.song.envelopes[1][kNoteEnvelope]), (std::vector<int32_t>{64, 76, 52}));
  EXPECT_EQ(app.song.patterns[0].cells[kPcmTrack][0].note, 1);
  EXPECT_EQ(app.song.samples[1].name, "kick");
  EXPECT_EQ(app.song.samples[1].data, (std::vector<uint8_t>{10, 20, 30}));
  EXPECT_TRUE(app.song.samples[1].loop);
}

TEST_F(ModuleVersions, VersionTwoKeepsBiasedNotesAndSixteenBitLengths) {
  FileBytes f = moduleHeader(2, 1, 1, 0);
  addInstrument(f, "", {15}, {64, 140}, {0});
  add(f, {0});
  add(f, {1, 'a', 0x00, 0x01, 0});  // 256 bytes, not looping
  f.insert(f.end(), 256, 0x40);
  addEmptySamples(f, 254);
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_EQ(values(app.song.envelopes[1][kNoteEnvelope]), (std::vector<int32_t>{64, 140}));
  EXPECT_EQ(app.song.samples[1].length(), 256u);
  EXPECT_FALSE(app.song.samples[1].loop);
}

TEST_F(ModuleVersions, VersionThreeReadsThirtyTwoBitLengthsAndLoadsAsPal) {
  app.song.ntsc = true;
  FileBytes f = moduleHeader(3, 1, 1, 0);
  addInstrument(f, "", {15}, {64}, {0});
  add(f, {0});
  addEmptySamples(f, 254);
  add(f, {1, 'z', 0x02, 0x00, 0x01, 0x00, 1});  // slot 255: 65538 bytes
  f.insert(f.end(), 65538, 0x7F);
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_FALSE(app.song.ntsc);
  EXPECT_EQ(app.song.samples[255].length(), 65538u);
  EXPECT_EQ(app.song.samples[255].name, "z");
}

TEST_F(ModuleVersions, VersionFourReadsTheNtscByte) {
  FileBytes f = moduleHeader(4, 1, 1, 0, 1);
  addInstrument(f, "", {15}, {64}, {0});
  add(f, {0});
  addEmptySamples(f, 255);
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_TRUE(app.song.ntsc);
}

TEST_F(ModuleVersions, ZeroLengthSampleRecordLoadsAsAnEmptySlot) {
  FileBytes f = moduleHeader(4, 1, 1, 0, 0);
  addInstrument(f, "", {15}, {64}, {0});
  add(f, {0});
  add(f, {3, 'e', 'm', 'p', 0, 0, 0, 0, 1});
  addEmptySamples(f, 254);
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_FALSE(app.song.samples[1].holdsData());
  EXPECT_TRUE(app.song.samples[1].name.empty());
  EXPECT_FALSE(app.song.samples[1].loop);
}

TEST_F(ModuleVersions, EmptyEnvelopeLoadsAsOneNeutralValue) {
  FileBytes f = moduleHeader(1, 1, 1, 0);
  add(f, {0, 0, 0, 0, 0, 0, 0});  // no name, three envelopes of count 0
  add(f, {0});
  addEmptySamples(f, 255);
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_EQ(values(app.song.envelopes[1][kVolumeEnvelope]), (std::vector<int32_t>{0}));
  EXPECT_EQ(values(app.song.envelopes[1][kNoteEnvelope]), (std::vector<int32_t>{64}));
  EXPECT_EQ(values(app.song.envelopes[1][kDutyEnvelope]), (std::vector<int32_t>{0}));
}

TEST_F(ModuleVersions, LoadReplacesTheSongAndResetsPositionsButKeepsEditorChoices) {
  app.player.playing = true;
  app.player.returnRow = 12;
  app.player.speed = 3;
  app.player.tempo = 150;
  app.player.playOrder = 4;
  app.player.playRow = 30;
  app.editor.cursorRow = 17;
  app.editor.cursorChannel = 2;
  app.editor.cursorColumn = 3;
  app.editor.orderCursor = 1;
  app.editor.selectedEnvelope = 2;
  app.editor.envelopeCursor = {1, 2, 3};
  app.editor.octave = 5;
  app.editor.currentInstrument = 2;
  app.editor.currentSample = 7;
  app.song.instrumentNames[0] = "zero";
  app.song.instrumentNames[3] = "kept";
  app.song.patterns[9].cells[0][0].note = 5;

  FileBytes f = moduleHeader(4, 2, 1, 0, 0);
  addInstrument(f, "one", {15}, {64}, {2});
  addInstrument(f, "second", {7, 6}, {64}, {1});
  add(f, {0});
  addEmptySamples(f, 255);
  ASSERT_TRUE(loadModuleImage(f));

  EXPECT_FALSE(app.player.playing);
  EXPECT_EQ(app.player.returnRow, -1);
  EXPECT_TRUE(app.player.silenceRequest);
  EXPECT_TRUE(app.player.clockChanged);
  EXPECT_EQ(app.player.speed, 6);
  EXPECT_EQ(app.player.tempo, 125);
  EXPECT_EQ(app.player.playOrder, 0);
  EXPECT_EQ(app.player.playRow, 0);
  EXPECT_EQ(app.editor.cursorRow, 0);
  EXPECT_EQ(app.editor.cursorChannel, 0);
  EXPECT_EQ(app.editor.cursorColumn, 0);
  EXPECT_EQ(app.editor.orderCursor, 0);
  EXPECT_EQ(app.editor.selectedEnvelope, 0);
  EXPECT_EQ(app.editor.envelopeCursor, (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(app.editor.nameCursor, 6);  // at the end of "second", the current instrument
  EXPECT_EQ(app.editor.octave, 5);
  EXPECT_EQ(app.editor.currentSample, 7);
  EXPECT_TRUE(app.song.patterns[9].cells[0][0].empty());

  // Slots the file does not hold keep their names and get {0} envelopes.
  EXPECT_EQ(app.song.instrumentNames[0], "zero");
  EXPECT_EQ(app.song.instrumentNames[3], "kept");
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    EXPECT_EQ(values(app.song.envelopes[3][k]), (std::vector<int32_t>{0}));
    EXPECT_EQ(values(app.song.envelopes[0][k]), (std::vector<int32_t>{0}));
  }
  EXPECT_EQ(values(app.song.envelopes[2][kVolumeEnvelope]), (std::vector<int32_t>{7, 6}));
}

}  // namespace
