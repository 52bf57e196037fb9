// Raw samples: importing recordings into a slot, slicing, removing and
// stripping them from the editor, and their layout in the cartridge's banks.
#include "editor/sample_operations.h"
#include "samples/raw_sample_import.h"
#include "song/optimized_samples.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "key_test_support.h"
#include "tests/recording_files.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class RawSampleTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    app.editor.currentSample = 3;
  }
  const RawSample& slot() const { return app.song.samples[3]; }
  // A sample as one value that compares and prints.
  static auto fields(const RawSample& s) { return std::tie(s.data, s.loop, s.name); }
  // Imports a float recording of the given interleaved values.
  std::vector<uint8_t> levelsOf(std::vector<double> values, int rate = 7801, int channels = 1) {
    const std::string path = dir.file("levels.wav");
    EXPECT_TRUE(writeRecording(path, kFloatWav, rate, channels, values));
    EXPECT_TRUE(importRawSample(path));
    return slot().data;
  }
  TempDir dir;
};

// NaN and infinities are what a hostile float file holds: they become valid levels too.
TEST_F(RawSampleTest, LevelsSitAroundTheCentreAndOutOfRangeValuesAreClamped) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(levelsOf({0.0, 1.0, -1.0, 0.5, -0.5, 1.5, -3.0, std::nan(""), inf, -inf}),
            (std::vector<uint8_t>{64, 127, 1, 95, 32, 127, 1, 64, 127, 1}));
}

TEST_F(RawSampleTest, ChannelsAreMixedToTheirMean) {
  EXPECT_EQ(levelsOf({0.5, -0.5, 1.0, 0.0, -1.0, -1.0}, 7801, 2), (std::vector<uint8_t>{64, 95, 1}));
}

// Frame k holds the value whose level is k + 1, so each level names its frame.
std::vector<double> framesNamingThemselves(int count) {
  std::vector<double> values(size_t(count), 0.0);
  for (int k = 0; k < count && k < 126; ++k) values[size_t(k)] = (k + 1 - 64 + 0.5) / 63.0;
  return values;
}

TEST_F(RawSampleTest, OneSecondAt44100HzPointSamplesWithARunningPosition) {
  std::vector<double> frames = framesNamingThemselves(44100);
  std::fill(frames.end() - 10, frames.end(), 1.0);  // the last level comes from past the decoder's first reads
  const std::vector<uint8_t> levels = levelsOf(frames, 44100);
  ASSERT_EQ(levels.size(), 7801u);
  // Frames 0, 5, 11, 16.
  EXPECT_EQ(std::vector<uint8_t>(levels.begin(), levels.begin() + 4), (std::vector<uint8_t>{1, 6, 12, 17}));
  EXPECT_EQ(levels.back(), 127);
}

TEST_F(RawSampleTest, RatesNearTheOutputRateKeepTheirFrames) {
  std::vector<uint8_t> levels = levelsOf(framesNamingThemselves(100), 7801);
  ASSERT_EQ(levels.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(levels[size_t(i)], i + 1);
  levels = levelsOf(framesNamingThemselves(100), 8000);
  EXPECT_EQ(levels.size(), 97u);  // trunc(100 / 1.0255...)
  EXPECT_EQ(levels[1], 2);
  // Below 7801 Hz each frame repeats: 3900 Hz gives two levels a frame.
  levels = levelsOf(framesNamingThemselves(4), 3900);
  EXPECT_EQ(levels.size(), 8u);
  EXPECT_EQ(levels[0], 1);
  EXPECT_EQ(levels[7], 4);
}

TEST_F(RawSampleTest, WavFlacAndOggAllImport) {
  for (auto [name, format] : {std::pair{"a.wav", kPcm16Wav}, std::pair{"b.flac", kFlac}}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(writeRecording(dir.file(name), format, 7801, 1, {0.5, -0.5, 0.0}));
    ASSERT_TRUE(importRawSample(dir.file(name)));
    EXPECT_EQ(fields(slot()), fields({{95, 32, 64}, false, name}));
  }

  ASSERT_TRUE(writeRecording(dir.file("c.ogg"), kOggVorbis, 44100, 2, std::vector<double>(88200, 0.0)));
  ASSERT_TRUE(importRawSample(dir.file("c.ogg")));
  EXPECT_EQ(slot().name, "c.ogg");
  EXPECT_EQ(slot().length(), 7801u);
  // Lossy silence: within one level of the centre.
  EXPECT_TRUE(std::all_of(slot().data.begin(), slot().data.end(), [](uint8_t v) { return v == 63 || v == 64; }));
}

TEST_F(RawSampleTest, NewSampleDoesNotLoopAndIsNamedAfterTheFileEvenWhenEmpty) {
  app.song.samples[3] = RawSample{{1, 2, 3}, true, "old"};
  levelsOf({0.0, 0.0});
  EXPECT_EQ(fields(slot()), fields({{64, 64}, false, "levels.wav"}));
  EXPECT_EQ(sampleNameFromPath("C:\\loops\\kick.wav"), "kick.wav");
  EXPECT_EQ(sampleNameFromPath("kick.wav"), "kick.wav");
  EXPECT_EQ(sampleNameFromPath("/a\\b/c.flac"), "c.flac");

  // Too short for one level: the slot is left empty.
  app.song.samples[3] = RawSample{{1, 2, 3}, false, "old"};
  EXPECT_TRUE(levelsOf({0.5, 0.5}, 44100).empty());
  EXPECT_EQ(slot().name, "levels.wav");
}

// What is no recording at all is the load command's test.
TEST_F(RawSampleTest, UnreadableFilesOrNoSelectedSlotImportNothing) {
  app.song.samples[3] = RawSample{{1, 2, 3}, true, "old"};
  EXPECT_FALSE(importRawSample(dir.file("missing.wav")));
  EXPECT_FALSE(importRawSample(dir.path()));
  EXPECT_EQ(fields(slot()), fields({{1, 2, 3}, true, "old"}));

  ASSERT_TRUE(writeRecording(dir.file("a.wav"), kFloatWav, 7801, 1, {0.5}));
  app.editor.currentSample = 0;
  EXPECT_FALSE(importRawSample(dir.file("a.wav")));
  EXPECT_FALSE(app.song.samples[0].holdsData());
}

RawSample sample(std::vector<uint8_t> bytes, std::string name = "s") {
  return RawSample{std::move(bytes), true, std::move(name)};
}

TEST_F(RawSampleTest, SlicingFillsTheFirstFreeSlotsAndDropsTheOddByteRemovingEmptiesTheSlot) {
  for (int slot = 1; slot <= 3; ++slot) app.song.samples[slot] = sample({9});
  app.song.samples[3] = sample({1, 2, 3, 4, 5}, "kick");
  EXPECT_EQ(statusAfter(kKeyF9), "Beat was sliced");
  EXPECT_EQ(fields(app.song.samples[4]), fields({{1, 2}, false, "0#kick"}));
  EXPECT_EQ(fields(app.song.samples[5]), fields({{3, 4}, false, "1#kick"}));
  EXPECT_EQ(app.song.samples[3].length(), 5u);
  EXPECT_EQ(statusAfter(kKeyF10), "Sample was removed");
  EXPECT_EQ(fields(app.song.samples[3]), fields({}));
}

TEST_F(RawSampleTest, SlicingRefusesWithoutTwoFreeSlotsOrSomethingToSlice) {
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

TEST_F(RawSampleTest, StrippingKeepsOnlySamplesOfUsedPatterns) {
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

TEST_F(RawSampleTest, BankSaveWritesAnEmptySlotAsAnEmptyFileAndSlotZeroNotAtAll) {
  app.editor.currentSample = 0;
  app.song.samples[0].data = {1};
  EXPECT_FALSE(saveOptimizedSamples(dir.file("z.qcs")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("z.qcs")));

  app.editor.currentSample = 5;
  ASSERT_TRUE(saveOptimizedSamples(dir.file("e.qcs")));
  EXPECT_EQ(std::filesystem::file_size(dir.file("e.qcs")), 0u);
}

}  // namespace

}  // namespace qc
