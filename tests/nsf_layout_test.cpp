// The NSF file's bytes: header, driver bank, table bank, stream and sample banks.
#include "export/nsf_layout.h"

#include <gtest/gtest.h>

#include <cstring>

#include "export/nsf_driver_image.h"

namespace qc {

namespace {

constexpr size_t kTables = kNsfHeaderBytes + kBankBytes;  // file offset of the table bank

TickFields quietTick(int noiseVolume) {
  TickFields t = kNoFields;
  for (int field : {kCapPulse1DutyVolume, kCapPulse2DutyVolume, kCapTriangleOn, kCapSample}) t[field] = 0;
  t[kCapNoiseVolume] = noiseVolume;
  return t;
}

// A pass whose pulse 1 stream differs on every tick: about 20 bits a tick.
OrderPass busyPass(int ticks, int seed) {
  OrderPass pass;
  for (int t = 0; t < ticks; t++) {
    TickFields f = quietTick(0);
    int period = (t * 37 + seed) % 2048;
    f[kCapPulse1High] = period >> 8;
    f[kCapPulse1Low] = period & 0xFF;
    f[kCapPulse1DutyVolume] = 1 + (t + seed) % 63;
    pass.push_back(f);
  }
  return pass;
}

uint16_t word(const std::vector<uint8_t>& file, size_t at) { return uint16_t(file[at] | file[at + 1] << 8); }

std::vector<uint8_t> build(const SongStreams& streams, const std::array<RawSample, kSampleSlots>& samples = {},
                           bool ntsc = false, const NsfNames& names = {"", "", ""}) {
  auto file = buildNsfFile(streams, prepareSamples(samples, ntsc), names, ntsc);
  EXPECT_TRUE(file.has_value());
  return file.value_or(std::vector<uint8_t>{});
}

SongStreams passes(std::initializer_list<OrderPass> list, int loopPoint = 0) {
  SongStreams s;
  for (const OrderPass& p : list) commitPass(s, p);
  s.loopPoint = loopPoint;
  return s;
}

TEST(NsfLayout, HeaderNamesTheSongAfterInstrumentsOneToThree) {
  std::string forty(40, 'x');
  std::vector<uint8_t> file =
      build(passes({OrderPass(3, quietTick(1))}), {}, false, {"Tune", "", forty});
  EXPECT_EQ(std::memcmp(file.data(), "NESM\x1A\x01\x01\x01", 8), 0);
  EXPECT_EQ(word(file, 8), 0xF000);
  EXPECT_EQ(word(file, 10), 0xF04B);
  EXPECT_EQ(word(file, 12), 0xF139);
  EXPECT_STREQ(reinterpret_cast<const char*>(&file[14]), "Tune");
  EXPECT_STREQ(reinterpret_cast<const char*>(&file[46]), "<?>");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[78])), std::string(31, 'x'));
  EXPECT_EQ(file[78 + 31], 0);
  EXPECT_EQ(word(file, 110), 16666);
  EXPECT_EQ(std::memcmp(&file[112], "QUILLCH\0", 8), 0);
  EXPECT_EQ(word(file, 120), 20000);
  EXPECT_EQ(file[122], 1);  // PAL
  EXPECT_EQ(file[123], 0);
  EXPECT_TRUE(std::equal(kNsfDriverImage.begin(), kNsfDriverImage.end(), file.begin() + kNsfHeaderBytes));
  EXPECT_EQ(std::memcmp(&file[kTables], "V.M.", 4), 0);
  EXPECT_EQ(build(passes({OrderPass(3, quietTick(1))}), {}, true)[122], 0);  // NTSC
}

TEST(NsfLayout, OrderListsStayWithinOnePage) {
  // 200 passes, one pattern each: pulse 1's list fills offsets 27-227, its
  // table 232-239, so pulse 2's list would cross into the next page.
  SongStreams s;
  for (int i = 0; i < 200; i++) commitPass(s, OrderPass(1, quietTick(1)));
  std::vector<uint8_t> file = build(s);
  EXPECT_EQ(word(file, kTables + 6), 232);
  EXPECT_EQ(word(file, kTables + 8), 256);
  for (size_t i = 240; i < 256; i++) EXPECT_EQ(file[kTables + i], 0xFF);
}

TEST(NsfLayout, StreamPatternsNeverCrossABank) {
  // Two pulse 1 patterns of about 3000 bytes: the second starts a new bank.
  SongStreams streams = passes({busyPass(1200, 0), busyPass(1200, 5)});
  std::vector<uint8_t> file = build(streams);
  size_t table = kTables + word(file, kTables + 6);
  EXPECT_EQ(word(file, table), 0xA000);
  EXPECT_EQ(file[table + 2], 2);
  EXPECT_EQ(word(file, table + 8), 0xA000);
  EXPECT_EQ(file[table + 10], 3);
  size_t streamStart = kTables + kBankBytes;
  EXPECT_EQ(file[streamStart + kBankBytes - 1], 0xFF);  // the rest of bank 2
  // The other channels' small patterns follow in bank 3.
  size_t pulse2 = kTables + word(file, kTables + 10);
  EXPECT_EQ(file[pulse2 + 2], 3);
  EXPECT_EQ(word(file, pulse2), 0xA000 + streams.channels[0].pool[1].bytes.size());
  EXPECT_EQ(file.size(), kTables + 3 * size_t(kBankBytes)) << "no sample banks";
}

TEST(NsfLayout, SongsBeyondTheFormatsLimitsAreRefused) {
  auto refused = [](const SongStreams& s, const std::array<RawSample, kSampleSlots>& samples = {}) {
    return !buildNsfFile(s, prepareSamples(samples, false), {"", "", ""}, false).has_value();
  };
  SongStreams many;
  for (int i = 0; i < 256; i++) commitPass(many, OrderPass(1, quietTick(i % 16)));
  EXPECT_TRUE(refused(many)) << "256 order passes";

  SongStreams patterns;
  for (int i = 0; i < 255; i++) commitPass(patterns, OrderPass(1 + i, quietTick(1)));  // 5 x 255 entries
  EXPECT_TRUE(refused(patterns)) << "a table bank over 4096 bytes";

  EXPECT_TRUE(refused(passes({busyPass(2000, 0)}))) << "a stream pattern over 4096 bytes";
  EXPECT_FALSE(refused(passes({busyPass(1500, 0)})));

  SongStreams badLoop = passes({OrderPass(1, quietTick(1))}, 1);
  EXPECT_TRUE(refused(badLoop)) << "a loop point past the list";

  std::array<RawSample, kSampleSlots> huge;
  huge[1].data.assign(210 * 32 * kChunkBytes, 1);  // 210 main banks, 47 tail banks
  EXPECT_TRUE(refused(passes({OrderPass(1, quietTick(1))}), huge)) << "bank numbers over 255";
  huge[1].data.assign(200 * 32 * kChunkBytes, 1);  // the last bank is 247
  EXPECT_FALSE(refused(passes({OrderPass(1, quietTick(1))}), huge));
}

}  // namespace

}  // namespace qc
