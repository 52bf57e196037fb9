#include "playback/frame_sequencer.h"

namespace qc {

namespace {

constexpr uint8_t kFiveStepMode = 0x80;

}  // namespace

void FrameSequencer::writeMode(uint8_t value) {
  mode = value;
  delay &= 1;
  step = 0;
  if (!(mode & kFiveStepMode)) {
    step = 1;
    delay += period;
  }
}

bool FrameSequencer::takeStep() {
  delay = period;
  switch (step++) {
    case 0:
    case 2:
      return true;
    case 1:
      delay -= 2;  // step 1 comes slightly early
      return false;
    default:
      step = 0;
      if (mode & kFiveStepMode) delay += period - 6;  // the fifth step takes almost two periods
      return false;
  }
}

}  // namespace qc
