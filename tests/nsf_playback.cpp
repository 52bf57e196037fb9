#include "tests/nsf_playback.h"

#include <sstream>

#include "export/nsf_driver_image.h"
#include "export/tick_stream.h"

namespace {

constexpr uint16_t kDac = 0x4011;
constexpr int kDacShift = 108;  // first chunk position played in a tick
constexpr uint8_t kDacCentre = 0x3F;

bool isBranch(uint8_t opcode) { return (opcode & 0x1F) == 0x10; }

std::string hex(int value) {
  std::ostringstream s;
  s << std::hex << std::uppercase << "$" << value;
  return s.str();
}

}  // namespace

std::vector<DriverTick> playDriverTicks(const std::vector<uint8_t>& nsf, int ticks, bool pal, BranchLog* branches) {
  NsfMachine machine(nsf);
  EXPECT_TRUE(machine.init(0, pal)) << "init did not return";
  machine.startPlay();
  uint64_t end = machine.playStart + kNsfPlayWait + uint64_t(ticks + 1) * (kNsfShortTick + 1);
  Cpu6502& cpu = machine.cpu;
  while (cpu.cycles < end) {
    uint16_t pc = cpu.pc;
    bool branch = pc >= kNsfLoadAddress && isBranch(machine.read(pc));
    int cycles = cpu.step();
    if (branch && branches) (cycles > 2 ? (*branches)[pc].first : (*branches)[pc].second) = true;
  }
  EXPECT_NE(cpu.pc, 0x4100) << "play returned";

  std::vector<DriverTick> out(static_cast<size_t>(ticks));
  size_t dacCount = 0;
  int current = -1;
  for (const ApuWrite& w : machine.apuWrites) {
    if (w.cycle < machine.playStart) continue;
    if (w.address == kDac) {
      current = int(dacCount++ / kChunkBytes);
      if (current >= ticks) break;
      out[size_t(current)].dacCycles.push_back(w.cycle - machine.playStart);
      out[size_t(current)].dac.push_back(w.value);
    } else if (current >= 0) {
      out[size_t(current)].registers.push_back({w.cycle - machine.playStart, w.address, w.value});
    } else {
      ADD_FAILURE() << "register write before the first tick: " << hex(w.address);
    }
  }
  EXPECT_GE(dacCount, size_t(ticks) * kChunkBytes);
  return out;
}

std::vector<TickFields> playedRecords(const std::vector<OrderPass>& passes, int loopPoint, int ticks) {
  std::vector<TickFields> out;
  for (size_t p = 0; int(out.size()) < ticks; p = p + 1 < passes.size() ? p + 1 : size_t(loopPoint))
    for (const TickFields& t : passes[p])
      if (int(out.size()) < ticks) out.push_back(t);
  return out;
}

testing::AssertionResult registersMatch(const DriverTick& tick, const TickFields& r, std::array<int, 2>& lastHigh) {
  std::vector<std::pair<uint16_t, int>> expected;  // value -1: any
  for (int c = 0; c < 2; c++) {
    int dv = r[3 * c + 2];
    int high = r[3 * c], low = r[3 * c + 1];
    expected.push_back({uint16_t(0x4000 + 4 * c), (dv >> 4) << 6 | 0x30 | (dv & 15)});
    expected.push_back({uint16_t(0x4002 + 4 * c), low});
    // The driver keeps the last decoded high byte while the field has none.
    bool write = high != -1 ? high != lastHigh[c] : false;
    if (write) {
      expected.push_back({uint16_t(0x4003 + 4 * c), high});
      lastHigh[c] = high;
    }
  }
  expected.push_back({0x400B, r[kCapTriangleHigh]});
  expected.push_back({0x400A, r[kCapTriangleLow]});
  expected.push_back({0x4008, (r[kCapTriangleOn] & 1) ? 0xFF : 0x00});
  expected.push_back({0x400C, 0x30 | r[kCapNoiseVolume]});
  int mp = r[kCapNoiseModePeriod];
  expected.push_back({0x400E, mp == -1 ? -1 : (mp >> 4) << 7 | (mp & 15)});
  expected.push_back({0x400F, 0});

  // A silent pulse keeps its last high byte; its write may come or not.
  std::vector<ApuWrite> got;
  for (const ApuWrite& w : tick.registers) {
    bool optionalHigh = (w.address == 0x4003 && r[0] == -1) || (w.address == 0x4007 && r[3] == -1);
    if (optionalHigh) {
      lastHigh[w.address == 0x4003 ? 0 : 1] = w.value;
      continue;
    }
    got.push_back(w);
  }
  if (got.size() != expected.size())
    return testing::AssertionFailure() << got.size() << " register writes, expected " << expected.size();
  for (size_t i = 0; i < got.size(); i++) {
    if (got[i].address != expected[i].first)
      return testing::AssertionFailure() << "write " << i << " to " << hex(got[i].address) << ", expected "
                                         << hex(expected[i].first);
    if (expected[i].second != -1 && got[i].value != expected[i].second)
      return testing::AssertionFailure() << hex(got[i].address) << " = " << hex(got[i].value) << ", expected "
                                         << hex(expected[i].second);
  }
  return testing::AssertionSuccess();
}

ReferenceSampler::ReferenceSampler(const std::array<RawSample, kSampleSlots>& samples, bool ntsc)
    : padded_(kSampleSlots), loops_(kSampleSlots), previous_(kChunkBytes, kDacCentre) {
  for (int s = 1; s < kSampleSlots; s++) {
    std::vector<uint8_t> data = ntsc ? stretchForNtsc(samples[s].data) : samples[s].data;
    if (!data.empty()) data.resize((data.size() + kChunkBytes - 1) / kChunkBytes * kChunkBytes, data.back());
    padded_[s] = data;
    loops_[s] = samples[s].loop;
  }
}

std::vector<uint8_t> ReferenceSampler::tick(int value) {
  if (playing_ >= 0 && ++chunk_ * kChunkBytes == padded_[size_t(playing_)].size()) {
    if (loops_[size_t(playing_)]) chunk_ = 0;
    else playing_ = -1;
  }
  if (value != lastValue_) {
    lastValue_ = value;
    if (value != 0) {
      playing_ = padded_[size_t(value)].empty() ? -1 : value;
      chunk_ = 0;
    }
  }
  std::vector<uint8_t> chunk(kChunkBytes, kDacCentre);
  if (playing_ >= 0) {
    auto from = padded_[size_t(playing_)].begin() + long(chunk_ * kChunkBytes);
    chunk.assign(from, from + kChunkBytes);
  }
  std::vector<uint8_t> played(previous_.begin() + kDacShift, previous_.end());
  played.insert(played.end(), chunk.begin(), chunk.begin() + kDacShift);
  previous_ = chunk;
  return played;
}

void expectDriverPlays(const std::vector<uint8_t>& nsf, const std::vector<OrderPass>& passes, int loopPoint,
                       const std::array<RawSample, kSampleSlots>& samples, bool ntsc, int ticks,
                       BranchLog* branches) {
  std::vector<DriverTick> played = playDriverTicks(nsf, ticks, !ntsc, branches);
  std::vector<TickFields> records = playedRecords(passes, loopPoint, ticks);
  ReferenceSampler sampler(samples, ntsc);
  std::array<int, 2> lastHigh = {255, 255};
  uint64_t previousDac = 0;
  for (int t = 0; t < ticks; t++) {
    const DriverTick& tick = played[size_t(t)];
    ASSERT_EQ(tick.dac.size(), size_t(kChunkBytes)) << "tick " << t;
    if (t == 0) {
      EXPECT_EQ(tick.dacCycles[0], kNsfPlayWait) << "first DAC write, cycles after play starts";
    } else {
      EXPECT_EQ(tick.dacCycles[0] - played[size_t(t - 1)].dacCycles[0], uint64_t(kNsfShortTick + (t - 1) % 2))
          << "length of tick " << t - 1;
    }
    for (size_t slot = 0; slot < tick.dacCycles.size(); slot++) {
      uint64_t cycle = tick.dacCycles[slot];
      if (previousDac) {
        uint64_t gap = cycle - previousDac;
        ASSERT_TRUE(gap == 213 || gap == 214) << "tick " << t << ", DAC write " << slot << ": " << gap
                                              << " cycles after the one before";
      }
      previousDac = cycle;
    }
    ASSERT_TRUE(registersMatch(tick, records[size_t(t)], lastHigh)) << "tick " << t;
    ASSERT_EQ(tick.dac, sampler.tick(records[size_t(t)][kCapSample])) << "DAC bytes of tick " << t;
  }
}

std::vector<OrderPass> passesOf(const SongStreams& streams) {
  std::vector<OrderPass> passes;
  for (size_t i = 0; i < streams.channels[0].orderList.size(); i++) {
    OrderPass pass;
    for (int c = 0; c < kChannels; c++) {
      const StreamPattern& p = streams.channels[c].pool[size_t(streams.channels[c].orderList[i])];
      pass.resize(size_t(p.ticks), kNoFields);
      int width = kChannelFields[c + 1] - kChannelFields[c];
      for (int t = 0; t < p.ticks; t++)
        for (int f = 0; f < width; f++) pass[size_t(t)][size_t(kChannelFields[c] + f)] = p.records[size_t(t * width + f)];
    }
    passes.push_back(pass);
  }
  return passes;
}
