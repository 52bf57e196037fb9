// The VRC6's timer interrupt, in CPU-cycle mode.
//
// Registers: $F000 the reload value; $F001 control (bit 0 enable after
// acknowledge, bit 1 enable, bit 2 cycle mode); $F002 acknowledge. A $F001
// write with the enable bit loads the counter from the reload value and drops
// a pending interrupt; the counter counts up once a CPU cycle and, clocked at
// $FF, reloads and raises the interrupt, so it fires every 256 - reload
// cycles. $F002 drops a pending interrupt and copies control bit 0 into the
// enable bit. A stopped counter keeps its count. Scanline mode (bit 2 clear,
// counted through the prescaler) is not modelled: the counter stays still.
//
// Time: writes and runUntil carry the CPU cycle they happen on, in order.
#pragma once

#include <cstdint>
#include <limits>

class Vrc6Timer {
 public:
  static constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

  // register_ 0, 1 or 2 for $F000, $F001, $F002.
  void write(int register_, uint8_t value, uint64_t cycle);
  // Raises the interrupt for every wrap up to and including `cycle`.
  void runUntil(uint64_t cycle);
  bool interruptAsserted() const { return pending_; }
  // The cycle of the next wrap, kNever while stopped.
  uint64_t nextWrap() const { return counting_ ? nextWrap_ : kNever; }

  uint64_t interrupts = 0;  // wraps so far

 private:
  void setCounting(uint64_t cycle);

  uint8_t reload_ = 0;
  uint8_t control_ = 0;
  bool counting_ = false;   // enabled and in cycle mode
  uint64_t nextWrap_ = 0;   // while counting
  uint64_t remaining_ = 0;  // while stopped: cycles it still needs to wrap
  bool pending_ = false;
};
