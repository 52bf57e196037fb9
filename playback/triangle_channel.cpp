#include "playback/triangle_channel.h"

namespace qc {

namespace {

constexpr int32_t kHalfRamp = 16;
constexpr int32_t kShortestTimer = 3;  // ultrasonic periods hold instead of stepping

}  // namespace

int32_t TriangleChannel::amplitude() const {
  const int32_t amp = kHalfRamp - phase;
  return amp < 0 ? phase - (kHalfRamp + 1) : amp;
}

void TriangleChannel::clockLinearCounter() {
  if (written[3])
    linearCounter = regs[0] & 0x7F;
  else if (linearCounter)
    --linearCounter;
  // The reload flag stays set while the control bit is set.
  if (!(regs[0] & 0x80)) written[3] = false;
}

void TriangleChannel::run(const StepSynth& synth, int32_t end) {
  if (end <= runTime) return;
  int32_t time = runTime;
  runTime = end;
  if (!output) return;
  const int32_t delta = updateAmp(amplitude());
  if (delta) synth.addStepAtClock(time, delta, *output);

  time += delay;
  const int32_t timerPeriod = period() + 1;
  if (lengthCounter == 0 || linearCounter == 0 || timerPeriod < kShortestTimer) {
    time = end;
  } else if (time < end) {
    DeltaBuffer& buffer = *output;
    // Phases 17..32 run as 1..16 with the direction reversed.
    int32_t ph = phase;
    int32_t direction = 1;
    if (ph > kHalfRamp) {
      ph -= kHalfRamp;
      direction = -1;
    }
    do {
      if (--ph == 0) {
        ph = kHalfRamp;
        direction = -direction;
      } else {
        synth.addStepAtClock(time, direction, buffer);
      }
      time += timerPeriod;
    } while (time < end);
    if (direction < 0) ph += kHalfRamp;
    phase = ph;
    lastAmp = amplitude();
  }
  delay = time - end;
}

}  // namespace qc
