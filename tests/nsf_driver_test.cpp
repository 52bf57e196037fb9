// The NSF driver on the console over data built by the compiler's pure
// stages: random records through every branch of the driver, held against
// the records by the verification.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "console/nsf_machine.h"
#include "console/nsf_verification.h"
#include "export/nsf_driver_image.h"
#include "export/nsf_layout.h"

namespace qc {

namespace {

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
  auto file = buildNsfFile(streams, prepareSamples(s.samples, ntsc), {"Title", "", "Copyright"}, ntsc);
  EXPECT_TRUE(file.has_value());
  if (file) s.nsf = *file;
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
