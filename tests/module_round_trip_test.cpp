#include <gtest/gtest.h>

#include "song/app_state.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class ModuleRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

std::vector<int32_t> values(const Envelope& e) { return {e.values, e.values + std::max(envelopeLength(e), 0)}; }

TEST_F(ModuleRoundTrip, SavedFileLoadsBackIdentically) {
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
  EXPECT_EQ(a.orderCount, expected.orderCount);
  EXPECT_EQ(a.orders, expected.orders);
  EXPECT_EQ(a.ntsc, expected.ntsc);
  EXPECT_EQ(std::memcmp(a.patterns.data(), expected.patterns.data(), sizeof a.patterns), 0);
  EXPECT_EQ(a.instrumentNames, expected.instrumentNames);
  for (int slot = 1; slot < kInstrumentSlots; ++slot)
    for (int k = 0; k < kEnvelopeKinds; ++k) {
      SCOPED_TRACE(testing::Message() << "instrument " << slot << " envelope " << k);
      EXPECT_EQ(values(a.envelopes[slot][k]), values(expected.envelopes[slot][k]));
      EXPECT_EQ(a.envelopes[slot][k].loop, expected.envelopes[slot][k].loop);
    }
  for (int slot = 1; slot < kSampleSlots; ++slot) {
    const RawSample &x = a.samples[slot], &y = expected.samples[slot];
    EXPECT_TRUE(x.data == y.data && x.loop == y.loop && x.name == y.name) << "sample " << slot;
  }
}

TEST_F(ModuleRoundTrip, WriterLaysOutVersionFourWithFifteenInstrumentsAndEveryRecord) {
  const Bytes empty = encodeModule(app.song);
  // An untouched song: no patterns in use, its one order still written.
  ASSERT_GE(empty.size(), 25u);
  EXPECT_EQ(std::string(empty.begin(), empty.begin() + 16), "QuillchanterTune");
  // Header, then instrument 1: empty name, volume loop 0 of one value 15.
  EXPECT_EQ(Bytes(empty.begin() + 16, empty.begin() + 25), (Bytes{4, 15, 1, 0, 0, 0, 0, 1, 15}));
  EXPECT_EQ(empty.size(), 21 + 15 * (1 + 3 * 3) + 1 + 255);

  app.song.patterns[5].cells[4][0].param = 1;
  const Bytes sixPatterns = encodeModule(app.song);
  EXPECT_EQ(sixPatterns.size(), empty.size() + 6 * 960);
  EXPECT_EQ(sixPatterns[19], 6);
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

}  // namespace

}  // namespace qc
