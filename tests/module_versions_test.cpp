#include <gtest/gtest.h>

#include "song/app_state.h"
#include "tests/module_bytes.h"

namespace qc {

namespace {

class ModuleVersions : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
};

std::vector<int32_t> values(const Envelope& e) { return {e.values, e.values + std::max(envelopeLength(e), 0)}; }

TEST_F(ModuleVersions, VersionZeroHasFourTracksUnbiasedNotesAndNoSamples) {
  app.song.samples[3] = RawSample{{1, 2, 3}, false, "old"};
  FileBytes f = moduleHeader(0, 1, 2, 1);
  addInstrument(f, "lead", {15, 8}, {0, 12}, {2});
  add(f, {0, 0});
  addPattern(f, 4, 3, 63, 37, 0x21, 0x43);  // last cell of the noise track
  ASSERT_TRUE(loadModuleImage(f));

  EXPECT_EQ(values(app.song.envelopes[1][kNoteEnvelope]), (std::vector<int32_t>{64, 76}));
  EXPECT_EQ(app.song.instrumentNames[1], "lead");
  EXPECT_EQ(app.song.patterns[0].cells[3][63], (Cell{37, 0x21, 0x43}));
  for (const Cell& c : app.song.patterns[0].cells[kPcmTrack]) EXPECT_TRUE(c.empty());
  for (const RawSample& s : app.song.samples) EXPECT_TRUE(!s.holdsData() && s.name.empty());
  EXPECT_FALSE(app.song.ntsc);
  EXPECT_EQ(app.song.orderCount, 2);
}

TEST_F(ModuleVersions, VersionOneBiasesNotesReadsSixteenBitSampleLengthsAndFillsEmptyEnvelopes) {
  FileBytes f = moduleHeader(1, 2, 1, 1);
  addInstrument(f, "", {15}, {0, 12, 244}, {0});  // 244 is -12 stored as a signed byte
  add(f, {0, 0, 0, 0, 0, 0, 0});                  // no name, three envelopes of count 0
  add(f, {0});
  addPattern(f, 5, 4, 0, 1, 0, 0);
  add(f, {4});
  addText(f, "kick");
  add(f, {3, 0, 1, 10, 20, 30});  // length 3, looping
  addEmptySamples(f, 254);
  ASSERT_TRUE(loadModuleImage(f));

  EXPECT_EQ(values(app.song.envelopes[1][kNoteEnvelope]), (std::vector<int32_t>{64, 76, 52}));
  EXPECT_EQ(values(app.song.envelopes[2][kVolumeEnvelope]), (std::vector<int32_t>{0}));
  EXPECT_EQ(values(app.song.envelopes[2][kNoteEnvelope]), (std::vector<int32_t>{64}));
  EXPECT_EQ(values(app.song.envelopes[2][kDutyEnvelope]), (std::vector<int32_t>{0}));
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
  add(f, {3, 'e', 'm', 'p', 0, 0, 0, 0, 1});  // zero length: loads as an empty slot
  addEmptySamples(f, 253);
  add(f, {1, 'z', 0x02, 0x00, 0x01, 0x00, 1});  // slot 255: 65538 bytes
  f.insert(f.end(), 65538, 0x7F);
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_FALSE(app.song.ntsc);
  EXPECT_EQ(app.song.samples[255].length(), 65538u);
  EXPECT_EQ(app.song.samples[255].name, "z");
  EXPECT_FALSE(app.song.samples[1].holdsData());
  EXPECT_TRUE(app.song.samples[1].name.empty());
  EXPECT_FALSE(app.song.samples[1].loop);
}

TEST_F(ModuleVersions, LoadReplacesTheSongAndResetsPositionsButKeepsEditorChoices) {
  Player& p = app.player;
  EditorState& e = app.editor;
  p.playing = true;
  p.returnRow = 12;
  p.speed = 3;
  p.tempo = 150;
  p.playOrder = 4;
  p.playRow = 30;
  e.cursorRow = 17;
  e.cursorChannel = 2;
  e.cursorColumn = 3;
  e.orderCursor = 1;
  e.selectedEnvelope = 2;
  e.envelopeCursor = {1, 2, 3};
  e.octave = 5;
  e.currentInstrument = 2;
  e.currentSample = 7;
  app.song.instrumentNames[0] = "zero";
  app.song.instrumentNames[3] = "kept";
  app.song.patterns[9].cells[0][0].note = 5;

  FileBytes f = moduleHeader(4, 2, 1, 0, 1);  // version 4 carries the NTSC byte
  addInstrument(f, "one", {15}, {64}, {2});
  addInstrument(f, "second", {7, 6}, {64}, {1});
  add(f, {0});
  addEmptySamples(f, 255);
  ASSERT_TRUE(loadModuleImage(f));

  EXPECT_TRUE(app.song.ntsc);
  EXPECT_FALSE(p.playing);
  EXPECT_EQ(p.returnRow, -1);
  EXPECT_TRUE(p.silenceRequest);
  EXPECT_TRUE(p.clockChanged);
  EXPECT_EQ((std::array{p.speed, p.tempo, p.playOrder, p.playRow}), (std::array{6, 125, 0, 0}));
  EXPECT_EQ((std::array{e.cursorRow, e.cursorChannel, e.cursorColumn, e.orderCursor, e.selectedEnvelope}),
            (std::array{0, 0, 0, 0, 0}));
  EXPECT_EQ(e.envelopeCursor, (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(e.nameCursor, 6);  // at the end of "second", the current instrument
  EXPECT_EQ(e.octave, 5);
  EXPECT_EQ(e.currentSample, 7);
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

}  // namespace qc
