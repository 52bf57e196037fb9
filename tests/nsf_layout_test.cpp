// The NSF file: its bytes (header, table bank, stream and sample banks),
// the bit streams where playback cannot show them (unchanged fields cost one
// bit, equal passes share a pattern), samples cut into the driver's chunks,
// and the driver on the console over data built by the compiler's pure
// stages: random records through every branch of the driver, held against
// the records by the verification, which proves the bits themselves.
#include "export/nsf_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

#include "console/nsf_machine.h"
#include "console/nsf_verification.h"
#include "export/nsf_driver_image.h"
#include "export/sample_chunks.h"
#include "export/stream_patterns.h"

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
  // The load, init and play addresses and the driver bank the verification runs.
  EXPECT_EQ(std::memcmp(file.data(), "NESM\x1A\x01\x01\x01", 8), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&file[14]), "Tune");
  EXPECT_STREQ(reinterpret_cast<const char*>(&file[46]), "<?>");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[78])), std::string(31, 'x'));
  EXPECT_EQ(file[78 + 31], 0);
  EXPECT_EQ(word(file, 110), 16666);
  EXPECT_EQ(std::memcmp(&file[112], "QUILLCH\0", 8), 0);
  EXPECT_EQ(word(file, 120), 20000);
  EXPECT_EQ(file[122], 1);  // PAL
  EXPECT_EQ(file[123], 0);
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
  // Where the patterns lie the driver test and the verification play.
  SongStreams streams = passes({busyPass(1200, 0), busyPass(1200, 5)});
  std::vector<uint8_t> file = build(streams);
  size_t streamStart = kTables + kBankBytes;
  EXPECT_EQ(file[streamStart + kBankBytes - 1], 0xFF);  // the rest of bank 2
  // The other channels' small patterns follow in bank 3.
  size_t pulse2 = kTables + word(file, kTables + 10);
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

BitWriter encoded(int channel, const TickFields& previous, const TickFields& current) {
  BitWriter bits;
  encodeChannelTick(channel, previous, current, bits);
  return bits;
}

// Bit count of one channel's tick.
size_t bitCount(int channel, const TickFields& previous, const TickFields& current) {
  BitWriter bits = encoded(channel, previous, current);
  bits.put(true);  // a marker behind the tick's bits
  const std::vector<uint8_t>& b = bits.bytes();
  int top = 7;
  while (!(b.back() >> top & 1)) top--;
  return (b.size() - 1) * 8 + size_t(top);
}

TickFields with(std::initializer_list<std::pair<int, int>> values) {
  TickFields t = kNoFields;
  for (auto [field, value] : values) t[field] = value;
  return t;
}

TEST(BitStream, ChangedFieldsStoreFlagAndValueUnchangedOrEmptyOnlyAZero) {
  TickFields sounding = with({{kCapPulse1High, 2}, {kCapPulse1Low, 0x34}, {kCapPulse1DutyVolume, 0x2F}});
  EXPECT_EQ(bitCount(0, kNoFields, sounding), 20u);
  EXPECT_EQ(bitCount(0, sounding, sounding), 3u);
  TickFields silent = with({{kCapPulse1DutyVolume, 0x20}});
  EXPECT_EQ(bitCount(0, sounding, silent), 2u + 7);
  // Sounding again after silence: the previous values are -1, so in full.
  EXPECT_EQ(bitCount(0, silent, sounding), 20u);
}

TEST(StreamPatterns, PassesEqualOnAChannelSharePatternsChannelByChannel) {
  TickFields a = with({{kCapPulse1DutyVolume, 0x1F}, {kCapNoiseVolume, 3}, {kCapTriangleOn, 0}});
  TickFields b = a;
  b[kCapNoiseVolume] = 4;
  SongStreams streams;
  commitPass(streams, OrderPass{a, a});
  commitPass(streams, OrderPass{b, b});  // pulse 1 equal, noise differs
  commitPass(streams, OrderPass{a, a});
  commitPass(streams, OrderPass{a});     // equal records but one tick fewer
  EXPECT_EQ(streams.channels[0].orderList, (std::vector<int>{0, 0, 0, 1}));
  EXPECT_EQ(streams.channels[3].orderList, (std::vector<int>{0, 1, 0, 2}));
  EXPECT_EQ(streams.channels[0].pool.size(), 2u);
  EXPECT_EQ(streams.channels[3].pool.size(), 3u);
  EXPECT_EQ(streams.channels[3].pool[1].ticks, 2);
  EXPECT_EQ(streams.channels[3].pool[1].records, (std::vector<int32_t>{-1, 4, -1, 4}));
}

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

constexpr int kLongSample = 1;     // 150 chunks: crosses main and tail banks
constexpr int kLoopingSample = 2;  // 2 chunks, loops
constexpr int kEmptySlot = 3;
constexpr int kShortSample = 4;    // under one chunk, padded with its last byte

struct Scenario {
  std::vector<OrderPass> passes;
  int loopPoint = 0;
  std::array<RawSample, kSampleSlots> samples;
  bool ntsc = false;
  std::vector<uint8_t> nsf;
};

TickFields randomRecord(std::mt19937& rng, const TickFields& previous) {
  auto chance = [&](int percent) { return int(rng() % 100) < percent; };
  TickFields r = previous;
  for (int c = 0; c < 2; c++) {
    int volume = chance(20) ? 0 : int(1 + rng() % 15);
    if (chance(60)) r[3 * c + 2] = int(rng() % 4) << 4 | volume;
    int period = int(rng() % 2048);
    bool silent = (r[3 * c + 2] & 15) == 0;
    if (silent) {
      r[3 * c] = r[3 * c + 1] = -1;
    } else if (chance(85) || r[3 * c] == -1) {
      r[3 * c] = chance(50) && previous[3 * c] != -1 ? previous[3 * c] : period >> 8;
      r[3 * c + 1] = period & 0xFF;
    }
  }
  bool on = chance(70);
  r[kCapTriangleOn] = on ? 255 : 0;
  r[kCapTriangleHigh] = on ? (chance(20) && previous[kCapTriangleHigh] != -1 ? previous[kCapTriangleHigh]
                                                                           : int(rng() % 8))
                           : -1;
  r[kCapTriangleLow] = on ? int(rng() % 256) : -1;
  if (chance(85)) r[kCapNoiseVolume] = int(rng() % 16);
  if (r[kCapNoiseVolume] == -1) r[kCapNoiseVolume] = 0;
  r[kCapNoiseModePeriod] = r[kCapNoiseVolume] == 0 ? -1 : chance(85) ? int(rng() % 32) : r[kCapNoiseModePeriod];
  if (r[kCapNoiseModePeriod] == -1 && r[kCapNoiseVolume] != 0) r[kCapNoiseModePeriod] = 3;
  r[kCapSample] = 0;
  return r;
}

OrderPass randomPass(std::mt19937& rng, int ticks) {
  OrderPass pass;
  TickFields previous = kNoFields;
  for (int t = 0; t < ticks; t++) pass.push_back(previous = randomRecord(rng, previous));
  return pass;
}

std::vector<uint8_t> ramp(size_t length, int step) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; i++) data[i] = uint8_t((i * size_t(step) + i / 7) % 128);
  return data;
}

// Branch address -> (seen taken, seen not taken), over the driver bank.
using BranchLog = std::map<uint16_t, std::pair<bool, bool>>;

BranchLog branchesOver(const std::vector<uint8_t>& nsf, int ticks) {
  NsfFile file;
  std::string error;
  EXPECT_TRUE(readNsfFile(nsf, file, error)) << error;
  NsfMachine machine(file);
  EXPECT_TRUE(machine.init(0, 100000));
  machine.startPlay();
  const uint64_t end = machine.cpu.cycles + kNsfPlayWait + uint64_t(ticks) * (kNsfShortTick + 1);
  BranchLog branches;
  while (machine.cpu.cycles < end) {
    const uint16_t pc = machine.cpu.pc;
    const bool branch = pc >= kNsfLoadAddress && (machine.cpu.peek(pc) & 0x1F) == 0x10;
    const int cycles = machine.cpu.step();
    if (branch) (cycles > 2 ? branches[pc].first : branches[pc].second) = true;
  }
  return branches;
}

Scenario buildScenario(bool ntsc) {
  Scenario s;
  s.ntsc = ntsc;
  s.samples[kLongSample].data = ramp(150 * kChunkBytes - 20, 3);
  s.samples[kLoopingSample].data = ramp(2 * kChunkBytes - 5, 11);
  s.samples[kLoopingSample].loop = true;
  s.samples[kShortSample].data = ramp(100, 5);

  std::mt19937 rng(ntsc ? 7 : 3);
  // The long sample plays to its end; its entry is on the first tick.
  OrderPass longSample = randomPass(rng, 175);
  longSample[0][kCapSample] = kLongSample;
  // Triggers: looping, held (no restart), retriggered, an empty slot, short.
  OrderPass triggers = randomPass(rng, 60);
  for (auto [tick, value] : std::vector<std::pair<int, int>>{
           {0, kLoopingSample}, {9, kLoopingSample}, {10, kLoopingSample}, {14, kLoopingSample},
           {20, kEmptySlot}, {30, kShortSample}, {40, kLoopingSample}})
    triggers[size_t(tick)][kCapSample] = value;
  OrderPass one = randomPass(rng, 1);
  OrderPass bulky = randomPass(rng, 200);
  OrderPass other = randomPass(rng, 90);
  OrderPass extra = randomPass(rng, 250);
  // Shares its pulse 1 and triangle data with `bulky`: per-channel dedup.
  OrderPass mixed = other;
  for (size_t t = 0; t < other.size(); t++)
    for (int f : {0, 1, 2, int(kCapTriangleHigh), int(kCapTriangleLow), int(kCapTriangleOn)}) mixed[t][f] = bulky[t][f];
  s.passes = {longSample, bulky, triggers, one, bulky, other, extra, mixed, one};
  s.loopPoint = 2;

  SongStreams streams;
  for (const OrderPass& p : s.passes) commitPass(streams, p);
  streams.loopPoint = s.loopPoint;
  s.nsf = build(streams, s.samples, ntsc, {"Title", "", "Copyright"});
  return s;
}

class NsfDriver : public testing::TestWithParam<bool> {};

TEST_P(NsfDriver, ReplaysEveryTickAndStreamsSamplesWithExactTiming) {
  bool ntsc = GetParam();
  Scenario s = buildScenario(ntsc);
  ASSERT_FALSE(s.nsf.empty());
  // Streams over more than one bank; the long sample's entry (bank bytes 2
  // and 5) puts its main parts in the first sample bank, its tails after
  // the main banks: each part runs across a bank end.
  const uint8_t* tables = &s.nsf[128 + 4096];
  const uint8_t* longEntry = tables + (tables[24] | tables[25] << 8);
  EXPECT_GE(longEntry[2] - 2, 2) << "stream banks";
  EXPECT_GT(s.nsf.size() - (128 + 4096 * size_t(longEntry[5])), 4096u) << "tail region";
  NsfReference reference{s.nsf, {}, 0};
  for (size_t p = 0; p < s.passes.size(); ++p) {
    if (int(p) == s.loopPoint) reference.loopTick = reference.ticks.size();
    reference.ticks.insert(reference.ticks.end(), s.passes[p].begin(), s.passes[p].end());
  }
  // Through the loop point and its first pass once more.
  const size_t afterLoop = s.passes[size_t(s.loopPoint)].size() + 2;
  const VerificationResult result = verifyNsf(reference, s.samples, ntsc, afterLoop);
  EXPECT_TRUE(result.equal) << result.line;

  const BranchLog branches = branchesOver(s.nsf, int(reference.ticks.size() + afterLoop));
  EXPECT_GE(branches.size(), 60u) << "branches seen in the driver";
  for (auto [address, seen] : branches)
    EXPECT_TRUE(seen.first && seen.second) << "branch at $" << std::hex << address << " only ever "
                                           << (seen.first ? "taken" : "not taken");
}

INSTANTIATE_TEST_SUITE_P(PalAndNtsc, NsfDriver, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ntsc" : "Pal"; });

}  // namespace

}  // namespace qc
