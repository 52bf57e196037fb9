// The files that hold one slot: an instrument, or a raw sample laid out in
// the cartridge's banks.
#include "song/instrument_file.h"
#include "song/optimized_samples.h"

#include <gtest/gtest.h>

#include "song/app_state.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class SlotFile : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    app.editor.currentInstrument = 3;
  }
  TempDir dir;
};

TEST_F(SlotFile, InstrumentSaveWritesTheModuleRecordAndLoadsBackUnbiasedIntoTheCurrentSlot) {
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

TEST_F(SlotFile, InstrumentLoadReplacesOnlyTheCurrentInstrumentAndClampsCursors) {
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

TEST_F(SlotFile, InstrumentDamagedFilesOrNoSelectedInstrumentTouchNoInstrumentAndNoFile) {
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

int tableAddress(const Bytes& bank, int table, int i) { return bank[table + i] | bank[table + 0x80 + i] << 8; }

TEST(OptimizedSamples, BanksOf15600LevelsLandWhereTheirAddressTablesPoint) {
  EXPECT_EQ((std::array{chunkHeadAddress(0), chunkHeadAddress(99)}), (std::array<uint16_t, 2>{0x8200, 0xB380}));
  EXPECT_EQ((std::array{chunkTailAddress(0), chunkTailAddress(1), chunkTailAddress(8), chunkTailAddress(9),
                        chunkTailAddress(99)}),
            (std::array<uint16_t, 5>{0xB400, 0xB41C, 0xB4E0, 0xB500, 0xBF00}));

  RawSample sample{std::vector<uint8_t>(15601), false, "two banks"};
  for (size_t i = 0; i < sample.data.size(); ++i) sample.data[i] = uint8_t(i % 127);
  // One level past a full bank: the second bank holds it and then fill.
  const Bytes file = encodeOptimizedSamples(sample);
  ASSERT_EQ(file.size(), 2u * kBankSize);
  EXPECT_EQ(encodeOptimizedSamples(RawSample{std::vector<uint8_t>(15600, 1), false, "a"}).size(), 1u * kBankSize);
  for (int b = 0; b < 2; ++b) {
    const Bytes bank(file.begin() + b * kBankSize, file.begin() + (b + 1) * kBankSize);
    for (int i = 0; i < 100; ++i) {
      EXPECT_EQ(tableAddress(bank, 0x000, i), chunkHeadAddress(i));
      EXPECT_EQ(tableAddress(bank, 0x100, i), chunkTailAddress(i));
    }
    for (int i = 100; i < 128; ++i) EXPECT_EQ(tableAddress(bank, 0x000, i) | tableAddress(bank, 0x100, i), 0);
    // Every level lands at the address its table names.
    for (int i = 0; i < 100; ++i)
      for (int k = 0; k < kChunkBytes; ++k) {
        const size_t level = size_t(b) * kBankSampleBytes + size_t(i) * kChunkBytes + size_t(k);
        const int address = k < kChunkHeadBytes ? chunkHeadAddress(i) + k : chunkTailAddress(i) + k - kChunkHeadBytes;
        const uint8_t expected = level < sample.data.size() ? sample.data[level] : kSampleFill;
        ASSERT_EQ(bank[size_t(address - 0x8000)], expected) << "bank " << b << " chunk " << i << " byte " << k;
      }
    // Padding after each ninth tail and the bank's end are zero.
    for (int group = 0; group < 11; ++group)
      for (int k = 0; k < 4; ++k) EXPECT_EQ(bank[size_t(0x3400 + 256 * group + 252 + k)], 0);
    for (int offset = 0x3F1C; offset < kBankSize; ++offset) ASSERT_EQ(bank[size_t(offset)], 0);
  }
}

TEST_F(SlotFile, SampleBankSaveWritesTheCurrentSlotAnEmptyOneAsAnEmptyFileAndSlotZeroNotAtAll) {
  app.song.samples[0].data = {1};
  EXPECT_FALSE(saveOptimizedSamples(dir.file("z.qcs")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("z.qcs")));

  app.editor.currentSample = 5;
  ASSERT_TRUE(saveOptimizedSamples(dir.file("e.qcs")));
  EXPECT_EQ(std::filesystem::file_size(dir.file("e.qcs")), 0u);

  app.editor.currentSample = 2;
  app.song.samples[2] = RawSample{{1, 2, 3}, false, "s"};
  ASSERT_TRUE(saveOptimizedSamples(dir.file("s.qcs")));
  EXPECT_EQ(readFile(dir.file("s.qcs")), encodeOptimizedSamples(app.song.samples[2]));
}

}  // namespace

}  // namespace qc
