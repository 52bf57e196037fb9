#include <gtest/gtest.h>

#include "song/app_state.h"
#include "song/byte_reader.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

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
    EXPECT_FALSE(app.player.playing);
    EXPECT_EQ(app.player.returnRow, -1);
    EXPECT_TRUE(app.player.silenceRequest);
    EXPECT_EQ(app.player.speed, 3);
    EXPECT_EQ(app.editor.cursorRow, 20);
    EXPECT_EQ(encodeModule(app.song), before);
    EXPECT_EQ(app.song.instrumentNames[4], "mine");
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

TEST_F(ModuleRejection, MissingFileIsReportedAndLeavesPlaybackAlone) {
  TempDir dir;
  ReadReport report;
  EXPECT_FALSE(loadModuleFile(dir.file("absent.qcm"), &report));
  EXPECT_EQ(report.describe(), "not found");
  EXPECT_FALSE(loadModuleFile(dir.path(), &report));
  EXPECT_EQ(report.describe(), "is a folder, not a file");
  EXPECT_TRUE(app.player.playing);
  EXPECT_EQ(encodeModule(app.song), before);
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
