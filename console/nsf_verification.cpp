#include "console/nsf_verification.h"

#include <algorithm>
#include <cstdio>

#include "console/driver_samples.h"
#include "console/nsf_machine.h"
#include "export/nsf_driver_image.h"
#include "export/sample_chunks.h"

namespace qc {

namespace {

constexpr uint64_t kInitCycles = 100000;
constexpr uint64_t kShortestDacGap = 213;
constexpr uint64_t kLongestDacGap = 214;

struct DriverTick {
  std::vector<ConsoleWrite> dac;
  std::vector<ConsoleWrite> registers;  // from its first DAC write to the next tick's
};

std::string hex(int value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "$%0*X", digits, value);
  return text;
}

// What the driver writes for one record: value -1 is "any value".
struct ExpectedWrite {
  uint16_t address;
  int value;
};

std::vector<ExpectedWrite> expectedWrites(const TickFields& r, std::array<int, 2>& lastHigh) {
  std::vector<ExpectedWrite> out;
  for (int c = 0; c < 2; c++) {
    const int dutyVolume = r[size_t(3 * c + 2)], high = r[size_t(3 * c)], low = r[size_t(3 * c + 1)];
    out.push_back({uint16_t(0x4000 + 4 * c), (dutyVolume >> 4) << 6 | 0x30 | (dutyVolume & 15)});
    out.push_back({uint16_t(0x4002 + 4 * c), low});
    // $4003 restarts the pulse's phase: written only when it changes.
    if (high != -1 && high != lastHigh[size_t(c)]) {
      out.push_back({uint16_t(0x4003 + 4 * c), high});
      lastHigh[size_t(c)] = high;
    }
  }
  out.push_back({0x400B, r[kCapTriangleHigh]});
  out.push_back({0x400A, r[kCapTriangleLow]});
  out.push_back({0x4008, (r[kCapTriangleOn] & 1) ? 0xFF : 0x00});
  out.push_back({0x400C, 0x30 | r[kCapNoiseVolume]});
  const int modePeriod = r[kCapNoiseModePeriod];
  out.push_back({0x400E, modePeriod == -1 ? -1 : (modePeriod >> 4) << 7 | (modePeriod & 15)});
  out.push_back({0x400F, 0});
  return out;
}

// Empty when the tick's register writes are those of its record.
std::string compareRegisters(const DriverTick& tick, const TickFields& r, std::array<int, 2>& lastHigh) {
  const std::vector<ExpectedWrite> expected = expectedWrites(r, lastHigh);
  // A silent pulse's period bytes have no value: the driver may write the
  // high byte it last decoded, which the next sounding tick then compares with.
  std::vector<ConsoleWrite> got;
  for (const ConsoleWrite& w : tick.registers) {
    const int pulse = w.address == 0x4003 ? 0 : w.address == 0x4007 ? 1 : -1;
    if (pulse >= 0 && r[size_t(3 * pulse)] == -1) {
      lastHigh[size_t(pulse)] = w.value;
      continue;
    }
    got.push_back(w);
  }
  for (size_t i = 0; i < std::min(got.size(), expected.size()); i++) {
    if (got[i].address != expected[i].address)
      return "register write " + std::to_string(i + 1) + " goes to " + hex(got[i].address, 4) + ", expected " +
             hex(expected[i].address, 4);
    if (expected[i].value != -1 && got[i].value != expected[i].value)
      return hex(got[i].address, 4) + ": expected " + hex(expected[i].value, 2) + ", got " + hex(got[i].value, 2);
  }
  if (got.size() != expected.size())
    return std::to_string(got.size()) + " register writes, expected " + std::to_string(expected.size());
  return {};
}

std::string compareTiming(const std::vector<DriverTick>& ticks, size_t t, uint64_t playStart, uint64_t& previousDac) {
  const DriverTick& tick = ticks[t];
  if (t == 0 && tick.dac[0].cycle - playStart != kNsfPlayWait)
    return "the first DAC write comes " + std::to_string(tick.dac[0].cycle - playStart) +
           " cycles after play starts, expected " + std::to_string(kNsfPlayWait);
  if (t > 0) {
    const uint64_t length = tick.dac[0].cycle - ticks[t - 1].dac[0].cycle;
    const uint64_t expected = uint64_t(kNsfShortTick) + (t - 1) % 2;
    if (length != expected)
      return "the tick before lasts " + std::to_string(length) + " cycles, expected " + std::to_string(expected);
  }
  for (size_t i = 0; i < tick.dac.size(); ++i) {
    const uint64_t cycle = tick.dac[i].cycle;
    if (previousDac && (cycle - previousDac < kShortestDacGap || cycle - previousDac > kLongestDacGap))
      return "DAC write " + std::to_string(i + 1) + " comes " + std::to_string(cycle - previousDac) +
             " cycles after the one before, expected 213 or 214";
    previousDac = cycle;
  }
  return {};
}

std::string compareDac(const DriverTick& tick, const std::vector<uint8_t>& expected) {
  for (size_t i = 0; i < expected.size(); ++i)
    if (tick.dac[i].value != expected[i])
      return "DAC byte " + std::to_string(i + 1) + ": expected " + hex(expected[i], 2) + ", got " +
             hex(tick.dac[i].value, 2);
  return {};
}

VerificationResult failure(const std::string& what) { return {false, "nsf: " + what}; }

}  // namespace

VerificationResult verifyNsf(const NsfReference& reference, const std::array<RawSample, kSampleSlots>& samples,
                             bool ntsc, size_t afterLoop) {
  std::vector<TickFields> records = reference.ticks;
  for (size_t t = reference.loopTick; t < reference.ticks.size() && t - reference.loopTick < afterLoop; ++t)
    records.push_back(reference.ticks[t]);

  NsfFile file;
  std::string error;
  if (!readNsfFile(reference.file, file, error)) return failure(error);
  NsfMachine machine(std::move(file));
  if (!machine.init(0, kInitCycles)) return failure("the driver's init does not return");
  machine.startPlay();
  const uint64_t playStart = machine.cpu.cycles;
  machine.runUntil(playStart + kNsfPlayWait + (records.size() + 1) * uint64_t(kNsfShortTick + 1));
  if (machine.cpu.jam) return failure("the driver jams at " + hex(*machine.cpu.jam, 4));
  if (machine.idle()) return failure("the driver's play routine returns");

  std::vector<DriverTick> ticks(records.size());
  size_t dacWrites = 0;
  for (const ConsoleWrite& w : machine.apuWrites) {
    if (w.cycle < playStart) continue;
    if (w.address == kApuDac) {
      if (dacWrites / kChunkBytes >= ticks.size()) break;
      ticks[dacWrites++ / kChunkBytes].dac.push_back(w);
    } else if (dacWrites == 0) {
      return failure("a register write to " + hex(w.address, 4) + " before the first tick");
    } else {
      ticks[(dacWrites - 1) / kChunkBytes].registers.push_back(w);
    }
  }
  if (dacWrites < records.size() * kChunkBytes)
    return failure(std::to_string(dacWrites) + " DAC writes in " + std::to_string(records.size()) +
                   " ticks, expected " + std::to_string(kChunkBytes) + " per tick");

  DriverSamples sampler(samples, ntsc);
  std::array<int, 2> lastHigh = {255, 255};
  uint64_t previousDac = 0;
  for (size_t t = 0; t < records.size(); ++t) {
    std::string difference = compareTiming(ticks, t, playStart, previousDac);
    if (difference.empty()) difference = compareRegisters(ticks[t], records[t], lastHigh);
    if (difference.empty()) difference = compareDac(ticks[t], sampler.tick(records[t][kCapSample]));
    if (!difference.empty()) return failure("tick " + std::to_string(t) + ": " + difference);
  }
  return {true, "nsf: " + std::to_string(records.size()) + " ticks, registers equal, " +
                    std::to_string(kChunkBytes) + " DAC writes per tick"};
}

}  // namespace qc
