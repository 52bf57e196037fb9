// Module and instrument files: every version the reader takes, the writer's
// layout, and damaged files.
#include "song/instrument_file.h"
#include "song/module_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "song/app_state.h"
#include "song/byte_reader.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class ModuleFile : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

std::vector<int32_t> values(const Envelope& e) { return {e.values, e.values + std::max(envelopeLength(e), 0)}; }

TEST_F(ModuleFile, VersionZeroHasFourTracksUnbiasedNotesAndNoSamples) {
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

TEST_F(ModuleFile, VersionOneBiasesNotesReadsSixteenBitSampleLengthsAndFillsEmptyEnvelopes) {
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
  for (int k = 0; k < kEnvelopeKinds; ++k)  // the empty ones: 0, a note of 64, 0
    EXPECT_EQ(values(app.song.envelopes[2][k]), (std::vector<int32_t>{k == kNoteEnvelope ? 64 : 0}));
  EXPECT_EQ(app.song.patterns[0].cells[kPcmTrack][0].note, 1);
  const RawSample& kick = app.song.samples[1];
  EXPECT_EQ(std::tie(kick.name, kick.data, kick.loop), std::tuple("kick", std::vector<uint8_t>{10, 20, 30}, true));
}

TEST_F(ModuleFile, VersionTwoKeepsBiasedNotesAndSixteenBitLengths) {
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

TEST_F(ModuleFile, VersionThreeReadsThirtyTwoBitLengthsAndLoadsAsPal) {
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
  EXPECT_TRUE(!app.song.samples[1].holdsData() && app.song.samples[1].name.empty() && !app.song.samples[1].loop);
}

TEST_F(ModuleFile, LoadReplacesTheSongAndResetsPositionsButKeepsEditorChoices) {
  Player& p = app.player;
  p.playing = true;
  p.returnRow = 12;
  p.speed = 3;
  p.tempo = 150;
  p.playOrder = 4;
  p.playRow = 30;
  app.editor = EditorState{.cursorRow = 17, .cursorChannel = 2, .cursorColumn = 3, .orderCursor = 1, .octave = 5,
                           .currentInstrument = 2, .currentSample = 7, .selectedEnvelope = 2, .envelopeCursor = {1, 2, 3}};
  EditorState expected = app.editor;
  expected.cursorRow = expected.cursorChannel = expected.cursorColumn = expected.orderCursor = 0;
  expected.selectedEnvelope = 0;
  expected.envelopeCursor = {0, 0, 0};
  expected.nameCursor = 6;  // at the end of "second", the current instrument
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
  EXPECT_TRUE(!p.playing && p.silenceRequest && p.clockChanged);
  EXPECT_EQ((std::array{p.returnRow, p.speed, p.tempo, p.playOrder, p.playRow}), (std::array{-1, 6, 125, 0, 0}));
  EXPECT_EQ(app.editor, expected);
  EXPECT_TRUE(app.song.patterns[9].cells[0][0].empty());

  // Slots the file does not hold keep their names and get {0} envelopes.
  EXPECT_EQ(std::tie(app.song.instrumentNames[0], app.song.instrumentNames[3]), std::tuple("zero", "kept"));
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    EXPECT_EQ(values(app.song.envelopes[3][k]), (std::vector<int32_t>{0}));
    EXPECT_EQ(values(app.song.envelopes[0][k]), (std::vector<int32_t>{0}));
  }
  EXPECT_EQ(values(app.song.envelopes[2][kVolumeEnvelope]), (std::vector<int32_t>{7, 6}));
}

TEST_F(ModuleFile, SavedFileLoadsBackIdentically) {
  Song& s = app.song;
  s.orderCount = 3;
  s.orders = {2, 0, 31};
  s.patterns[2].cells[0][5] = Cell{49, 0x13, 0x21};
  s.patterns[2].cells[4][63] = Cell{1, 0, 0};
  s.instrumentNames[1] = "bass";
  s.instrumentNames[15] = "last one";
  setEnvelope(s.envelopes[1][kVolumeEnvelope], {15, 12, 8}, 1);
  setEnvelope(s.envelopes[15][kNoteEnvelope], {64, 76, 140}, 2);
  setEnvelope(s.envelopes[15][kDutyEnvelope], {3});
  s.samples[1] = RawSample{{64, 65, 66}, true, "kick.wav"};
  s.samples[255] = RawSample{std::vector<uint8_t>(70000, 0x11), false, "long"};
  s.ntsc = true;
  const Song expected = s;
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  resetToProgramStart();
  ASSERT_TRUE(loadModuleFile(dir.file("song.qcm")));

  const Song& a = app.song;
  EXPECT_EQ(std::tie(a.orderCount, a.orders, a.ntsc, a.instrumentNames),
            std::tie(expected.orderCount, expected.orders, expected.ntsc, expected.instrumentNames));
  EXPECT_EQ(std::memcmp(a.patterns.data(), expected.patterns.data(), sizeof a.patterns), 0);
  // Slot 0 is no instrument and is not stored.
  EXPECT_EQ(std::memcmp(a.envelopes[1], expected.envelopes[1], sizeof a.envelopes - sizeof a.envelopes[0]), 0);
  for (int slot = 1; slot < kSampleSlots; ++slot) {
    const RawSample &x = a.samples[slot], &y = expected.samples[slot];
    EXPECT_TRUE(x.data == y.data && x.loop == y.loop && x.name == y.name) << "sample " << slot;
  }
}

TEST_F(ModuleFile, WriterLaysOutVersionFourWithFifteenInstrumentsAndEveryRecord) {
  const Bytes empty = encodeModule(app.song);
  // An untouched song: no patterns in use, its one order still written.
  ASSERT_GE(empty.size(), 25u);
  EXPECT_EQ(std::string(empty.begin(), empty.begin() + 16), "QuillchanterTune");
  // Header, then instrument 1: empty name, volume loop 0 of one value 15.
  EXPECT_EQ(Bytes(empty.begin() + 16, empty.begin() + 25), (Bytes{4, 15, 1, 0, 0, 0, 0, 1, 15}));
  EXPECT_EQ(empty.size(), 21 + 15 * (1 + 3 * 3) + 1 + 255);

  app.song.patterns[5].cells[4][0].param = 1;  // any nonzero byte puts a pattern in use, even on the PCM track
  const Bytes sixPatterns = encodeModule(app.song);
  EXPECT_EQ(sixPatterns.size(), empty.size() + 6 * 960);
  EXPECT_EQ(sixPatterns[19], 6);
}

TEST_F(ModuleFile, SampleWithDataButNoNameIsStoredUnderAName) {
  app.song.samples[0x1a].data = {1, 2};
  ASSERT_TRUE(loadModuleImage(encodeModule(app.song)));
  EXPECT_EQ(app.song.samples[0x1a].name, "Sample 0x1a");
  EXPECT_EQ(app.song.samples[0x1a].data, (std::vector<uint8_t>{1, 2}));
  for (int slot = 0x1b; slot < kSampleSlots; ++slot) EXPECT_FALSE(app.song.samples[slot].holdsData());
}

TEST_F(ModuleFile, WriterKeepsOverlongNamesAndEnvelopesReadable) {
  app.song.instrumentNames[2] = std::string(300, 'n');
  app.song.samples[4] = RawSample{{9}, false, std::string(256, 's')};
  Envelope& unterminated = app.song.envelopes[2][kVolumeEnvelope];
  for (int32_t& v : unterminated.values) v = 5;
  unterminated.loop = 99;
  EXPECT_EQ(envelopeLength(unterminated), -1);
  ASSERT_TRUE(loadModuleImage(encodeModule(app.song)));
  EXPECT_EQ(app.song.instrumentNames[2].size(), 255u);
  EXPECT_EQ(app.song.samples[4].name.size(), 255u);
  EXPECT_EQ(envelopeLength(app.song.envelopes[2][kVolumeEnvelope]), kMaxEnvelopeLength);
  EXPECT_EQ(app.song.envelopes[2][kVolumeEnvelope].loop, kMaxEnvelopeLength - 1);
}

TEST_F(ModuleFile, InstrumentSaveWritesTheModuleRecordAndLoadsBackUnbiasedIntoTheCurrentSlot) {
  app.editor.currentInstrument = 3;
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

TEST_F(ModuleFile, InstrumentLoadReplacesOnlyTheCurrentInstrumentAndClampsCursors) {
  app.editor.currentInstrument = 3;
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
  const EditorState& e = app.editor;
  EXPECT_EQ(std::tie(e.envelopeCursor, e.selectedEnvelope, e.nameCursor), std::tuple(std::array{2, 0, 1}, 2, 0));
  EXPECT_TRUE(app.player.playing);
  EXPECT_EQ(app.song.instrumentNames[4], "other");
}

TEST_F(ModuleFile, InstrumentDamagedFilesOrNoSelectedInstrumentTouchNoInstrumentAndNoFile) {
  app.editor.currentInstrument = 3;
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

// A small valid version-4 module to damage.
FileBytes validModule() {
  FileBytes f = moduleHeader(4, 2, 2, 1, 0);
  addInstrument(f, "a", {15, 3}, {64}, {2});
  addInstrument(f, "", {1}, {70, 60}, {0});
  add(f, {0, 0});
  addPattern(f, 5, 1, 1, 25, 0x12, 0x34);
  add(f, {2, 's', '1', 2, 0, 0, 0, 0, 50, 60});
  addEmptySamples(f, 254);
  return f;
}

class ModuleRejection : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    app.song.orderCount = 2;
    app.song.orders[1] = 7;
    app.song.instrumentNames[4] = "mine";
    app.song.patterns[7].cells[2][10].note = 30;
    app.song.samples[9] = RawSample{{1, 2, 3}, true, "snare"};
    app.song.ntsc = true;
    app.editor.cursorRow = 20;
    app.player.playing = true;
    app.player.speed = 3;
    before = encodeModule(app.song);
  }

  // Rejected, with playback stopped and the song, cursor and speed untouched.
  void expectRejected(const FileBytes& f, ReadProblem problem, const std::string& description = {}) {
    app.player.playing = true;
    ReadReport report;
    EXPECT_FALSE(loadModuleImage(f, &report));
    EXPECT_EQ(report.problem, problem);
    if (!description.empty()) {
      EXPECT_EQ(report.describe(), description);
    }
    EXPECT_TRUE(!app.player.playing && app.player.silenceRequest);
    EXPECT_EQ((std::array{app.player.returnRow, app.player.speed, app.editor.cursorRow}), (std::array{-1, 3, 20}));
    EXPECT_EQ(encodeModule(app.song), before);
  }

  Bytes before;
};

TEST_F(ModuleRejection, HeaderFaultsAreRejectedWithTheirReason) {
  const struct {
    size_t offset;
    uint8_t value;
    ReadProblem problem;
    const char* description;
  } faults[] = {
      {0, 'q', ReadProblem::kWrongMagic, "not a module"},
      {16, 5, ReadProblem::kUnsupportedVersion, "unsupported version 5"},
      {17, 0, ReadProblem::kDamaged, ""},
      {17, 16, ReadProblem::kDamaged, "damaged at header: 16 instruments (1 to 15 allowed)"},
      {18, 0, ReadProblem::kDamaged, ""},
      {18, 65, ReadProblem::kDamaged, ""},
      {19, 33, ReadProblem::kDamaged, "damaged at header: 33 patterns (at most 32)"},
      // The second order entry, after header and two instruments.
      {21 + 12 + 11 + 1, 32, ReadProblem::kDamaged, "damaged at order 1: pattern 32 (at most 31)"},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(testing::Message() << "byte " << fault.offset << " = " << int(fault.value));
    FileBytes f = validModule();
    f[fault.offset] = fault.value;
    expectRejected(f, fault.problem, fault.description);
  }
}

TEST_F(ModuleRejection, EnvelopesThatExceedTheModelAreRejected) {
  FileBytes f = moduleHeader(4, 1, 1, 0, 0);
  add(f, {0, 0, 84});
  f.insert(f.end(), 84, 1);
  add(f, {0, 1, 64, 0, 1, 0, 0});
  addEmptySamples(f, 255);
  expectRejected(f, ReadProblem::kDamaged, "damaged at instrument 1: Volume envelope of 84 values (at most 83)");

  f = moduleHeader(4, 1, 1, 0, 0);
  add(f, {0, 0, 1, 15, 2, 2, 64, 64, 0, 1, 0});  // Note loop 2 of 2 values
  add(f, {0});
  addEmptySamples(f, 255);
  expectRejected(f, ReadProblem::kDamaged, "damaged at instrument 1: Note envelope loops at 2 of 2 values");
}

TEST_F(ModuleRejection, EveryTruncationIsRejected) {
  const FileBytes f = validModule();
  for (size_t length = 0; length < f.size(); ++length) {
    SCOPED_TRACE(length);
    expectRejected(FileBytes(f.begin(), f.begin() + long(length)),
                   length < 16 ? ReadProblem::kWrongMagic : ReadProblem::kDamaged);
  }
  FileBytes lastSampleCut = f;
  lastSampleCut.back() = 1;  // slot 255 claims a name it does not have
  expectRejected(lastSampleCut, ReadProblem::kDamaged, "damaged at sample 255: file ends early");
  ASSERT_TRUE(loadModuleImage(f));
  EXPECT_EQ(app.song.samples[1].data, (std::vector<uint8_t>{50, 60}));
}

// What the open failure is called is the command line's test.
TEST_F(ModuleRejection, PathThatDoesNotOpenLeavesPlaybackAlone) {
  TempDir dir;
  EXPECT_FALSE(loadModuleFile(dir.file("absent.qcm")));
  EXPECT_FALSE(loadModuleFile(dir.path()));
  EXPECT_TRUE(app.player.playing);
  EXPECT_EQ(encodeModule(app.song), before);
}

TEST(ProgramStart, HoldsOneOrderInstrumentOneAndPal) {
  resetToProgramStart();
  const Song& s = app.song;
  EXPECT_EQ(s.orderCount, 1);
  EXPECT_EQ(s.orders[0], 0);
  EXPECT_FALSE(s.ntsc);
  for (int slot = 0; slot < kInstrumentSlots; ++slot)
    for (int k = 0; k < kEnvelopeKinds; ++k) {
      EXPECT_EQ(envelopeLength(s.envelopes[slot][k]), 1);
      EXPECT_EQ(s.envelopes[slot][k].loop, 0);
    }
  for (const RawSample& sample : s.samples) EXPECT_FALSE(sample.holdsData());
  // Octave, repeat end, audible tracks, cursor follow, speed and tempo.
  const EditorState& e = app.editor;
  EXPECT_EQ((std::array{e.octave, e.repeatEndRow, int32_t(e.channelMask), int32_t(e.cursorFollow), app.player.speed,
                        app.player.tempo}),
            (std::array{3, 63, 31, 1, 6, 125}));
}

TEST(ForeignFiles, AreReadNoFurtherThanTheMagic) {
  std::vector<uint8_t> video(1 << 20, 'v');
  std::FILE* file = fmemopen(video.data(), video.size(), "rb");
  std::vector<uint8_t> read;
  EXPECT_TRUE(readWholeStream(file, read, "QuillchanterTune", video.size()));
  EXPECT_EQ(read.size(), 16u);
  EXPECT_EQ(std::ftell(file), 16);
  std::fclose(file);
}

}  // namespace

}  // namespace qc
