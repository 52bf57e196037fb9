#include "playback/pulse_channel.h"

namespace qc {

namespace {

constexpr int32_t kPhases = 8;
constexpr uint8_t kNegate = 0x08;
constexpr int32_t kPeriodLimit = 0x800;
constexpr int32_t kShortestPeriod = 8;

}  // namespace

void PulseChannel::clockSweep(int32_t negateAdjust) {
  const uint8_t sweep = regs[1];
  if (--sweepDivider < 0) {
    written[1] = true;
    int32_t p = period();
    const int32_t shift = sweep & 7;
    if (shift && (sweep & 0x80) && p >= kShortestPeriod) {
      int32_t change = p >> shift;
      if (sweep & kNegate) change = negateAdjust - change;
      if (p + change < kPeriodLimit) {
        p += change;
        regs[2] = uint8_t(p & 0xFF);
        regs[3] = uint8_t((regs[3] & ~7) | ((p >> 8) & 7));
      }
    }
  }
  if (written[1]) {
    written[1] = false;
    sweepDivider = (sweep >> 4) & 7;
  }
}

void PulseChannel::run(const StepSynth& synth, int32_t end) {
  if (end <= runTime) return;
  int32_t time = runTime;
  runTime = end;
  if (!output) return;
  const int32_t volume = channelVolume(*this, envelope);
  const int32_t p = period();
  const int32_t timerPeriod = (p + 1) * 2;
  // The sweep unit mutes on an overflowing target even while it is disabled.
  const int32_t target = (regs[1] & kNegate) ? p : p + (p >> (regs[1] & 7));

  if (volume == 0 || p < kShortestPeriod || target >= kPeriodLimit) {
    if (lastAmp) {
      synth.addStepAtClock(time, -lastAmp, *output);
      lastAmp = 0;
    }
    time += delay;
    if (time < end) {
      const int32_t count = (end - time + timerPeriod - 1) / timerPeriod;
      phase = (phase + count) & (kPhases - 1);
      time += count * timerPeriod;
    }
    delay = time - end;
    return;
  }

  // Duty 0..2 is high for 1, 2 or 4 steps of 8; duty 3 is duty 1 inverted.
  const int32_t dutySelect = regs[0] >> 6;
  const int32_t duty = dutySelect == 3 ? 2 : 1 << dutySelect;
  int32_t amp = dutySelect == 3 ? volume : 0;
  if (phase < duty) amp ^= volume;
  const int32_t delta = updateAmp(amp);
  if (delta) synth.addStepAtClock(time, delta, *output);

  time += delay;
  if (time < end) {
    DeltaBuffer& buffer = *output;
    int32_t step = amp * 2 - volume;  // +volume while high, -volume while low
    int32_t ph = phase;
    do {
      ph = (ph + 1) & (kPhases - 1);
      if (ph == 0 || ph == duty) {
        step = -step;
        synth.addStepAtClock(time, step, buffer);
      }
      time += timerPeriod;
    } while (time < end);
    lastAmp = (step + volume) >> 1;
    phase = ph;
  }
  delay = time - end;
}

}  // namespace qc
