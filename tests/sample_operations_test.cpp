#include "editor/sample_operations.h"

#include "key_test_support.h"

namespace qc {

namespace {

using SampleOperationsTest = EditorTest;

RawSample sample(std::vector<uint8_t> bytes, std::string name = "s") {
  return RawSample{std::move(bytes), true, std::move(name)};
}

TEST_F(SampleOperationsTest, SlicingFillsTheFirstFreeSlotsAndDropsTheOddByteRemovingEmptiesTheSlot) {
  for (int slot = 1; slot <= 3; ++slot) app.song.samples[slot] = sample({9});
  app.song.samples[3] = sample({1, 2, 3, 4, 5}, "kick");
  app.editor.currentSample = 3;
  EXPECT_EQ(statusAfter(kKeyF9), "Beat was sliced");
  EXPECT_EQ(app.song.samples[4].data, (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(app.song.samples[4].name, "0#kick");
  EXPECT_FALSE(app.song.samples[4].loop);
  EXPECT_EQ(app.song.samples[5].data, (std::vector<uint8_t>{3, 4}));
  EXPECT_EQ(app.song.samples[5].name, "1#kick");
  EXPECT_EQ(app.song.samples[3].length(), 5u);
  EXPECT_EQ(statusAfter(kKeyF10), "Sample was removed");
  EXPECT_FALSE(app.song.samples[3].holdsData() || app.song.samples[3].loop);
  EXPECT_EQ(app.song.samples[3].name, "");
}

TEST_F(SampleOperationsTest, SlicingRefusesWithoutTwoFreeSlotsOrSomethingToSlice) {
  for (int slot = 1; slot < kSampleSlots; ++slot) app.song.samples[slot] = sample({1, 2});
  app.song.samples[254] = RawSample{};
  app.editor.currentSample = 1;
  EXPECT_EQ(sliceSample(), SliceResult::NoFreeSlots);
  EXPECT_FALSE(app.song.samples[254].holdsData());
  EXPECT_EQ(statusAfter(kKeyF9), "Not enough free sample slots to slice");
  app.song.samples[7] = RawSample{};  // nothing to slice is not reported as sliced
  app.editor.currentSample = 7;
  EXPECT_EQ(statusAfter(kKeyF9), "Nothing to slice: the sample slot is empty");
  app.song.samples[7] = sample({1});
  EXPECT_EQ(statusAfter(kKeyF9), "Sample too short to slice");
  EXPECT_FALSE(app.song.samples[254].holdsData());
}

TEST_F(SampleOperationsTest, StrippingKeepsOnlySamplesOfUsedPatterns) {
  app.song.samples[0] = sample({1});
  app.song.samples[200] = sample({1});
  testing::internal::CaptureStdout();
  press(kKeyF7);  // no pattern in use: every sample goes
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "2 unused samples stripped\n");
  EXPECT_FALSE(app.song.samples[0].holdsData());
  EXPECT_EQ(app.song.samples[200].name, "");

  for (const int slot : {0, 3, 4}) app.song.samples[slot] = sample({1});
  cellAt(kPcmTrack, 40, 2).note = 3;
  testing::internal::CaptureStdout();
  EXPECT_EQ(stripUnusedSamples(), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(app.song.samples[0].holdsData());  // empty rows name slot 0
  EXPECT_TRUE(app.song.samples[3].holdsData());
  EXPECT_FALSE(app.song.samples[4].holdsData());
}

}  // namespace

}  // namespace qc
