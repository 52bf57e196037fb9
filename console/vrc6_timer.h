// The VRC6's timer interrupt.
//
// Registers: $F000 the reload value; $F001 control (bit 0 enable after
// acknowledge, bit 1 enable, bit 2 cycle mode); $F002 acknowledge. A $F001
// write drops a pending interrupt and, with the enable bit, loads the counter
// from the reload value and the prescaler with 341. Each CPU cycle clocks an
// enabled counter once in cycle mode; in scanline mode the prescaler drops by
// 3 a cycle and clocks the counter each time it reaches 0 or below (and is
// raised by 341), once every 113.67 cycles. Clocked at $FF the counter
// reloads and raises the interrupt, so in cycle mode it fires every
// 256 - reload cycles, the first 256 - reload cycles after the $F001 write.
// $F002 drops a pending interrupt and copies control bit 0 into the enable
// bit. A stopped counter keeps its count. The line falls two cycles after the
// wrap: that is when nestopia's CPU sees it, which fits the byte rates it
// plays across handler and wait-loop timings to a tenth of a cycle.
//
// Time: writes and runUntil carry the CPU cycle they happen on, in order.
#pragma once

#include <cstdint>

namespace qc {

class Vrc6Timer {
 public:
  // register_ 0, 1 or 2 for $F000, $F001, $F002.
  void write(int register_, uint8_t value, uint64_t cycle);
  // Clocks the counter through `cycle`.
  void runUntil(uint64_t cycle);
  bool interruptAsserted() const { return pending_; }
  // Whether the line was low at the end of `cycle` (at most the last run).
  bool assertedAt(uint64_t cycle) const { return pending_ && pendingSince_ <= cycle; }

  uint64_t interrupts = 0;  // wraps so far

 private:
  void clockCounter(uint64_t cycle);

  uint8_t reload_ = 0;
  uint8_t control_ = 0;
  uint8_t counter_ = 0;
  int prescaler_ = 0;
  uint64_t lastCycle_ = 0;  // clocked through
  bool pending_ = false;
  uint64_t pendingSince_ = 0;
};

}  // namespace qc
