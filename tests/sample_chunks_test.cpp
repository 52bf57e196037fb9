// Samples cut into the driver's chunks: stretch, padding, the two regions.
#include "export/sample_chunks.h"

#include <gtest/gtest.h>

namespace qc {

namespace {

std::vector<uint8_t> counting(size_t length) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; i++) data[i] = uint8_t(i % 127);
  return data;
}

TEST(SampleChunks, NtscStretchLengthensByTheClockRatio) {
  std::vector<uint8_t> stretched = stretchForNtsc(counting(1000));
  EXPECT_EQ(stretched.size(), 1077u);
  EXPECT_EQ(stretched[0], 0);
  EXPECT_EQ(stretched[14], 13);  // trunc(14 * 0.92894...) = 13
  EXPECT_EQ(stretched.back(), counting(1000)[999]);
  EXPECT_TRUE(stretchForNtsc({}).empty());

  std::array<RawSample, kSampleSlots> samples;
  samples[1].data = counting(1000);
  EXPECT_EQ(prepareSamples(samples, true).entries[0].chunks, 7u);   // 1092 bytes
  EXPECT_EQ(prepareSamples(samples, false).entries[0].chunks, 7u);  // 1092 too, unstretched
  samples[1].data = counting(936);
  EXPECT_EQ(prepareSamples(samples, false).entries[0].chunks, 6u);  // a whole number stays
}

TEST(SampleChunks, EntriesForEverySlotUpToTheLastWithData) {
  std::array<RawSample, kSampleSlots> samples;
  samples[1].data = counting(156);
  samples[1].loop = true;
  samples[3].data = counting(300);
  samples[4].loop = true;  // empty, above the last slot with data: no entry
  PreparedSamples p = prepareSamples(samples, false);
  ASSERT_EQ(p.entries.size(), 3u);
  EXPECT_TRUE(p.entries[0].loop);
  EXPECT_EQ(p.entries[1].chunks, 0u);  // the empty slot 2 points where slot 3 starts
  EXPECT_EQ(p.entries[1].mainOffset, 128u);
  EXPECT_EQ(p.entries[1].tailOffset, 28u);
  EXPECT_EQ(p.entries[2].mainOffset, 128u);
  EXPECT_EQ(p.entries[2].chunks, 2u);
  // Where the parts lie the driver test proves by playing them; the fill is 0xFF.
  EXPECT_EQ(p.main.size(), size_t(kBankBytes));
  EXPECT_EQ(p.main[3 * kChunkHeadBytes], 0xFF);
  samples[1].data = counting(9 * kChunkBytes);
  EXPECT_EQ(prepareSamples(samples, false).tail[9 * kChunkTailBytes], 0xFF) << "four bytes end a tail page";

  std::array<RawSample, kSampleSlots> none;
  PreparedSamples empty = prepareSamples(none, true);
  EXPECT_TRUE(empty.entries.empty());
  EXPECT_TRUE(empty.main.empty());
  EXPECT_TRUE(empty.tail.empty());
}

}  // namespace

}  // namespace qc
