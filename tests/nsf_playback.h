// Plays NSF files on the test machine and checks what the driver writes
// against what the song compiler captured.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "export/sample_chunks.h"
#include "export/stream_patterns.h"
#include "tests/nsf_machine.h"

// One driver tick: its 156 DAC writes and the other APU writes from its
// first DAC write up to the next tick's; cycles count from play's start.
struct DriverTick {
  std::vector<uint64_t> dacCycles;
  std::vector<uint8_t> dac;
  std::vector<ApuWrite> registers;
};

// Branch address -> (seen taken, seen not taken), over the driver bank.
using BranchLog = std::map<uint16_t, std::pair<bool, bool>>;

// Runs init and play for `ticks` whole ticks; fails the test on an init that
// does not return or a play routine that does.
std::vector<DriverTick> playDriverTicks(const std::vector<uint8_t>& nsf, int ticks, bool pal,
                                        BranchLog* branches = nullptr);

// The record the driver plays at each tick: the passes in order, then from
// the loop point on, again and again.
std::vector<TickFields> playedRecords(const std::vector<OrderPass>& passes, int loopPoint, int ticks);

// The tick's register writes are those of the record, in the driver's order,
// with $4003/$4007 only when the value differs from the last one written
// (lastHigh carries those across ticks; 255 = none yet).
testing::AssertionResult registersMatch(const DriverTick& tick, const TickFields& record,
                                        std::array<int, 2>& lastHigh);

// Plays `ticks` ticks and checks every one: tick lengths of 33260 and 33261
// cycles in turn, DAC writes 213 or 214 cycles apart from the first one
// kNsfPlayWait cycles after play starts, the register writes of each played
// record, and the DAC bytes of the samples.
void expectDriverPlays(const std::vector<uint8_t>& nsf, const std::vector<OrderPass>& passes, int loopPoint,
                       const std::array<RawSample, kSampleSlots>& samples, bool ntsc, int ticks,
                       BranchLog* branches = nullptr);

// The passes as the streams hold them, channel records put back together.
std::vector<OrderPass> passesOf(const SongStreams& streams);

// The driver's sample channel, modelled on the samples as prepared (stretched
// and padded): the chunk each tick copies, from the tick's sample value.
class ReferenceSampler {
 public:
  ReferenceSampler(const std::array<RawSample, kSampleSlots>& samples, bool ntsc);
  // The 156 DAC bytes the tick plays: the end of the previous chunk, then
  // the start of this tick's chunk.
  std::vector<uint8_t> tick(int sampleValue);

 private:
  std::vector<std::vector<uint8_t>> padded_;  // by slot
  std::vector<bool> loops_;
  std::vector<uint8_t> previous_;
  int playing_ = -1;  // slot, -1 = stopped
  size_t chunk_ = 0;
  int lastValue_ = 255;
};
