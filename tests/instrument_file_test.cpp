#include "song/instrument_file.h"

#include <gtest/gtest.h>

#include "song/app_state.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class InstrumentFile : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    app.editor.currentInstrument = 3;
  }
  TempDir dir;
};

TEST_F(InstrumentFile, SaveWritesTheModuleRecordAndLoadsBackUnbiasedIntoTheCurrentSlot) {
  app.song.instrumentNames[3] = "pad";
  setEnvelope(app.song.envelopes[3][kVolumeEnvelope], {15, 12, 8}, 1);
  setEnvelope(app.song.envelopes[3][kNoteEnvelope], {64, 200}, 1);
  ASSERT_TRUE(saveInstrument(dir.file("pad.qci")));
  FileBytes expected = instrumentHeader();
  add(expected, {3, 'p', 'a', 'd', 1, 3, 0x0F, 0x0C, 0x08, 1, 2, 64, 200, 0, 1, 0});
  EXPECT_EQ(readFile(dir.file("pad.qci")), expected);

  app.editor.currentInstrument = 9;
  ASSERT_TRUE(loadInstrument(dir.file("pad.qci")));
  EXPECT_EQ(app.song.instrumentNames[9], "pad");
  EXPECT_EQ(app.editor.nameCursor, 3);
  EXPECT_EQ(app.song.envelopes[9][kNoteEnvelope].loop, 1);
  EXPECT_EQ(app.song.envelopes[9][kNoteEnvelope].values[1], 200);  // no bias on instrument files
}

TEST_F(InstrumentFile, LoadReplacesOnlyTheCurrentInstrumentAndClampsCursors) {
  app.editor.envelopeCursor = {5, 0, 7};
  app.editor.selectedEnvelope = 2;
  app.player.playing = true;
  app.song.instrumentNames[4] = "other";
  FileBytes f = instrumentHeader();
  addInstrument(f, "", {15, 14, 13}, {64}, {2, 1});
  writeFile(dir.file("i.qci"), f);
  ASSERT_TRUE(loadInstrument(dir.file("i.qci")));
  EXPECT_TRUE(app.song.instrumentNames[3].empty());
  EXPECT_EQ(app.song.envelopes[3][kVolumeEnvelope].values[2], 13);
  EXPECT_EQ(envelopeLength(app.song.envelopes[3][kDutyEnvelope]), 2);
  EXPECT_EQ(app.editor.envelopeCursor, (std::array<int32_t, 3>{2, 0, 1}));
  EXPECT_EQ(app.editor.selectedEnvelope, 2);
  EXPECT_EQ(app.editor.nameCursor, 0);
  EXPECT_TRUE(app.player.playing);
  EXPECT_EQ(app.song.instrumentNames[4], "other");
}

TEST_F(InstrumentFile, DamagedFilesOrNoSelectedInstrumentTouchNoInstrumentAndNoFile) {
  app.song.instrumentNames[3] = "keep";
  const Bytes before = encodeInstrument(app.song, 3);
  FileBytes valid = instrumentHeader();
  addInstrument(valid, "x", {1}, {64}, {0});

  FileBytes badTerminator = valid;
  badTerminator[16] = 1;
  std::vector<FileBytes> damaged = {badTerminator};
  for (size_t length = 0; length < valid.size(); ++length) damaged.emplace_back(valid.begin(), valid.begin() + long(length));

  for (const FileBytes& f : damaged) {
    EXPECT_FALSE(loadInstrumentBytes(f));
    EXPECT_EQ(encodeInstrument(app.song, 3), before);
  }
  ReadReport report;
  EXPECT_FALSE(loadInstrumentBytes(badTerminator, &report));
  EXPECT_EQ(report.describe(), "not an instrument file");

  app.editor.currentInstrument = 0;
  writeFile(dir.file("x.qci"), valid);
  EXPECT_FALSE(loadInstrument(dir.file("x.qci")));
  EXPECT_TRUE(app.song.instrumentNames[0].empty());
  EXPECT_FALSE(saveInstrument(dir.file("none.qci")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.qci")));
}

}  // namespace

}  // namespace qc
