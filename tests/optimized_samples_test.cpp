#include "song/optimized_samples.h"

#include <gtest/gtest.h>

#include "song/app_state.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

int tableAddress(const Bytes& bank, int table, int i) { return bank[table + i] | bank[table + 0x80 + i] << 8; }

TEST(OptimizedSamples, BanksOf15600LevelsLandWhereTheirAddressTablesPoint) {
  EXPECT_EQ(chunkHeadAddress(0), 0x8200);
  EXPECT_EQ(chunkHeadAddress(99), 0xB380);
  EXPECT_EQ(chunkTailAddress(0), 0xB400);
  EXPECT_EQ(chunkTailAddress(1), 0xB41C);
  EXPECT_EQ(chunkTailAddress(8), 0xB4E0);
  EXPECT_EQ(chunkTailAddress(9), 0xB500);
  EXPECT_EQ(chunkTailAddress(99), 0xBF00);

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

TEST(SaveOptimizedSamples, WritesTheCurrentSlotAnEmptyOneAsAnEmptyFileAndSlotZeroNotAtAll) {
  resetToProgramStart();
  TempDir dir;
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
