#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "song/app_state.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace {

void fillSong(Song& s) {
  s.orderCount = 3;
  s.orders[0] = 2;
  s.orders[1] = 0;
  s.orders[2] = 31;
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
}

bool sameSong(const Song& a, const Song& b) {
  if (a.orderCount != b.orderCount || a.orders != b.orders || a.ntsc != b.ntsc) return false;
  if (std::memcmp(a.patterns.data(), b.patterns.data(), sizeof a.patterns) != 0) return false;
  for (int slot = 1; slot < kInstrumentSlots; ++slot) {
    if (a.instrumentNames[slot] != b.instrumentNames[slot]) return false;
    for (int k = 0; k < kEnvelopeKinds; ++k) {
      const Envelope &x = a.envelopes[slot][k], &y = b.envelopes[slot][k];
      const int length = envelopeLength(x);
      if (x.loop != y.loop || length != envelopeLength(y) || !std::equal(x.values, x.values + length, y.values))
        return false;
    }
  }
  for (int slot = 1; slot < kSampleSlots; ++slot) {
    const RawSample &x = a.samples[slot], &y = b.samples[slot];
    if (x.data != y.data || x.loop != y.loop || x.name != y.name) return false;
  }
  return true;
}

int runCli(std::vector<std::string> args) {
  args.insert(args.begin(), "quillchanter");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return runCommandLine(int(argv.size()), argv.data());
}

class ModuleRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

TEST_F(ModuleRoundTrip, SavedFileLoadsBackIdentically) {
  fillSong(app.song);
  const Song expected = app.song;
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  resetToProgramStart();
  ASSERT_TRUE(loadModuleFile(dir.file("song.qcm")));
  EXPECT_TRUE(sameSong(app.song, expected));
}

TEST_F(ModuleRoundTrip, WriterLaysOutVersionFourWithFifteenInstrumentsAndEveryRecord) {
  const Bytes empty = encodeModule(app.song);
  // An untouched song: no patterns in use, its one order still written.
  ASSERT_GE(empty.size(), 21u);
  EXPECT_EQ(std::string(empty.begin(), empty.begin() + 16), "QuillchanterTune");
  EXPECT_EQ((std::vector<uint8_t>(empty.begin() + 16, empty.begin() + 21)), (std::vector<uint8_t>{4, 15, 1, 0, 0}));
  const size_t instruments = 15 * (1 + 3 * 3);  // empty names, one-value envelopes
  EXPECT_EQ(empty.size(), 21 + instruments + 1 + 255);
  EXPECT_EQ(empty[21 + 1], 0);
  EXPECT_EQ(empty[21 + 2], 1);
  EXPECT_EQ(empty[21 + 3], 15);  // instrument 1's volume

  app.song.patterns[5].cells[4][0].param = 1;
  EXPECT_EQ(encodeModule(app.song).size(), empty.size() + 6 * 960);
  EXPECT_EQ(encodeModule(app.song)[19], 6);
}

TEST_F(ModuleRoundTrip, SampleWithDataButNoNameIsStoredUnderAName) {
  app.song.samples[0x1a].data = {1, 2};
  ASSERT_TRUE(loadModuleImage(encodeModule(app.song)));
  EXPECT_EQ(app.song.samples[0x1a].name, "Sample 0x1a");
  EXPECT_EQ(app.song.samples[0x1a].data, (std::vector<uint8_t>{1, 2}));
  for (int slot = 0x1b; slot < kSampleSlots; ++slot) EXPECT_FALSE(app.song.samples[slot].holdsData());
}

TEST_F(ModuleRoundTrip, WriterKeepsOverlongNamesAndEnvelopesReadable) {
  app.song.instrumentNames[2] = std::string(300, 'n');
  app.song.samples[4] = RawSample{{9}, false, std::string(256, 's')};
  Envelope& unterminated = app.song.envelopes[2][kVolumeEnvelope];
  for (int32_t& v : unterminated.values) v = 5;
  unterminated.loop = 99;
  ASSERT_TRUE(loadModuleImage(encodeModule(app.song)));
  EXPECT_EQ(app.song.instrumentNames[2].size(), 255u);
  EXPECT_EQ(app.song.samples[4].name.size(), 255u);
  EXPECT_EQ(envelopeLength(app.song.envelopes[2][kVolumeEnvelope]), kMaxEnvelopeLength);
  EXPECT_EQ(app.song.envelopes[2][kVolumeEnvelope].loop, kMaxEnvelopeLength - 1);
}

TEST_F(ModuleRoundTrip, ConvertReproducesAWriterFileByteForByte) {
  fillSong(app.song);
  ASSERT_TRUE(saveModule(dir.file("in.qcm")));
  ASSERT_EQ(runCli({"--convert", dir.file("in.qcm"), dir.file("out.qcm")}), 0);
  EXPECT_EQ(readFile(dir.file("out.qcm")), readFile(dir.file("in.qcm")));
}

TEST_F(ModuleRoundTrip, ConvertWritesOldVersionsAsVersionFour) {
  FileBytes f = moduleHeader(1, 1, 1, 1);
  addInstrument(f, "v1", {15}, {0}, {0});
  add(f, {0});
  addPattern(f, 5, 0, 0, 13, 0x01, 0);
  add(f, {1, 'x', 2, 0, 0, 7, 8});
  addEmptySamples(f, 254);
  writeFile(dir.file("old.qcm"), f);
  ASSERT_EQ(runCli({"--convert", dir.file("old.qcm"), dir.file("new.qcm")}), 0);

  const Bytes converted = readFile(dir.file("new.qcm"));
  EXPECT_EQ(converted[16], 4);
  ASSERT_TRUE(loadModuleImage(converted));
  EXPECT_EQ(app.song.envelopes[1][kNoteEnvelope].values[0], 64);
  EXPECT_EQ(app.song.patterns[0].cells[0][0].note, 13);
  EXPECT_EQ(app.song.samples[1].data, (std::vector<uint8_t>{7, 8}));
}

}  // namespace
