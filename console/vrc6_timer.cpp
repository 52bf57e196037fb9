#include "console/vrc6_timer.h"

namespace {

constexpr uint8_t kEnableAfterAcknowledge = 0x01;
constexpr uint8_t kEnable = 0x02;
constexpr uint8_t kCycleMode = 0x04;
constexpr uint64_t kCounterWrap = 256;

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
        counting_ = false;
        remaining_ = kCounterWrap - reload_;
      }
      setCounting(cycle);
      break;
    case 2:
      pending_ = false;
      control_ = uint8_t((control_ & ~kEnable) | ((control_ & kEnableAfterAcknowledge) << 1));
      setCounting(cycle);
      break;
    default:
      break;
  }
}

void Vrc6Timer::setCounting(uint64_t cycle) {
  const bool on = (control_ & kEnable) && (control_ & kCycleMode);
  if (counting_ && !on) remaining_ = nextWrap_ - cycle;
  if (!counting_ && on) nextWrap_ = cycle + remaining_;
  counting_ = on;
}

void Vrc6Timer::runUntil(uint64_t cycle) {
  while (counting_ && nextWrap_ <= cycle) {
    pending_ = true;
    ++interrupts;
    nextWrap_ += kCounterWrap - reload_;
  }
}
