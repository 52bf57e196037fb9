#include "console/vrc6_timer.h"

namespace qc {

namespace {

constexpr uint8_t kEnableAfterAcknowledge = 0x01;
constexpr uint8_t kEnable = 0x02;
constexpr uint8_t kCycleMode = 0x04;
constexpr int kPrescalerPeriod = 341;
constexpr int kPrescalerStep = 3;
constexpr uint64_t kCounterWrap = 256;
constexpr uint64_t kLineDelay = 2;

}  // namespace

void Vrc6Timer::write(int register_, uint8_t value, uint64_t cycle) {
  runUntil(cycle);
  switch (register_) {
    case 0:
      reload_ = value;
      break;
    case 1:
      control_ = value;
      pending_ = false;
      if (value & kEnable) {
        counter_ = reload_;
        prescaler_ = kPrescalerPeriod;
      }
      break;
    case 2:
      pending_ = false;
      control_ = uint8_t((control_ & ~kEnable) | ((control_ & kEnableAfterAcknowledge) << 1));
      break;
    default:
      break;
  }
}

void Vrc6Timer::clockCounter(uint64_t cycle) {
  if (counter_ != 0xFF) {
    ++counter_;
    return;
  }
  counter_ = reload_;
  pending_ = true;
  pendingSince_ = cycle + kLineDelay;
  ++interrupts;
}

void Vrc6Timer::runUntil(uint64_t cycle) {
  if (cycle <= lastCycle_) return;
  if (!(control_ & kEnable)) {
    lastCycle_ = cycle;
    return;
  }
  if (control_ & kCycleMode) {
    // Whole periods at once: only the last wrap's cycle matters.
    const uint64_t toWrap = kCounterWrap - counter_;
    const uint64_t clocks = cycle - lastCycle_;
    if (clocks < toWrap) {
      counter_ = uint8_t(counter_ + clocks);
    } else {
      const uint64_t period = kCounterWrap - reload_;
      const uint64_t after = clocks - toWrap;
      const uint64_t wraps = 1 + after / period;
      interrupts += wraps - 1;
      counter_ = 0xFF;
      clockCounter(lastCycle_ + toWrap + (wraps - 1) * period);
      counter_ = uint8_t(reload_ + after % period);
    }
    lastCycle_ = cycle;
    return;
  }
  for (; lastCycle_ < cycle; ) {
    ++lastCycle_;
    prescaler_ -= kPrescalerStep;
    if (prescaler_ <= 0) {
      prescaler_ += kPrescalerPeriod;
      clockCounter(lastCycle_);
    }
  }
}

}  // namespace qc
