#include "playback/expansion_chip.h"

namespace qc {

namespace {

constexpr uint32_t kFirstAddress = 0x9000;
constexpr uint32_t kLastAddress = 0xBFFF;
constexpr int kSaw = 2;
constexpr int32_t kPulseSteps = 16;
constexpr int32_t kSawEvents = 7;       // the accumulator restarts every seventh event
constexpr uint8_t kConstantOutput = 0x80;
constexpr int32_t kShortestPulsePeriod = 4;  // period values below stop the pulse

}  // namespace

ExpansionChip::ExpansionChip() {
  pulseSynth.setVolume(0.0064466666666666665);
  sawSynth.setVolume(0.006238709677419354);
}

void ExpansionChip::reset() {
  oscillators.fill(ExpansionOscillator{});
  lastTime = 0;
  quiet = false;
}

void ExpansionChip::write(uint32_t address, uint8_t value) {
  if (address < kFirstAddress || address > kLastAddress) return;
  oscillators[(address >> 12) - 9].regs[address & 3] = value;
  quiet = false;
}

void ExpansionChip::runUntil(int32_t time) {
  if (time <= lastTime) return;
  if (output && !quiet) {
    const bool pulse1 = runPulse(oscillators[0], time);
    const bool pulse2 = runPulse(oscillators[1], time);
    const bool saw = runSaw(time);
    quiet = !pulse1 && !pulse2 && !saw;
  }
  lastTime = time;
}

void ExpansionChip::endSlice(int32_t clocks) {
  if (clocks > lastTime) runUntil(clocks);
  lastTime -= clocks;
}

bool ExpansionChip::runPulse(ExpansionOscillator& pulse, int32_t end) {
  const int32_t volume = pulse.enabled() ? pulse.regs[0] & 15 : 0;
  const bool constant = pulse.regs[0] & kConstantOutput;
  const int32_t duty = ((pulse.regs[0] >> 4) & 7) + 1;  // high steps of 16
  const int32_t amp = (constant || pulse.phase < duty) ? volume : 0;
  if (amp != pulse.lastAmp) {
    pulseSynth.addStepAtClock(lastTime, amp - pulse.lastAmp, *output);
    pulse.lastAmp = amp;
  }

  int32_t time = lastTime + pulse.delay;
  pulse.delay = 0;
  const int32_t timerPeriod = pulse.period() + 1;
  if (!volume || constant || pulse.period() < kShortestPulsePeriod) return false;
  int32_t phase = pulse.phase;
  while (time < end) {
    if (++phase == kPulseSteps) {
      phase = 0;
      pulse.lastAmp = volume;
      pulseSynth.addStepAtClock(time, volume, *output);
    }
    if (phase == duty) {
      pulse.lastAmp = 0;
      pulseSynth.addStepAtClock(time, -volume, *output);
    }
    time += timerPeriod;
  }
  pulse.phase = phase;
  pulse.delay = time - end;
  return true;
}

bool ExpansionChip::runSaw(int32_t end) {
  ExpansionOscillator& saw = oscillators[kSaw];
  if (!saw.enabled()) {
    // Disabled, the accumulator is held at 0.
    saw.accumulator = 0;
    saw.phase = 0;
    saw.delay = 0;
    if (saw.lastAmp) {
      sawSynth.addStepAtClock(lastTime, -saw.lastAmp, *output);
      saw.lastAmp = 0;
    }
    return false;
  }
  const int32_t rate = saw.regs[0] & 0x3F;
  const int32_t timerPeriod = 2 * (saw.period() + 1);
  int32_t time = lastTime + saw.delay;
  while (time < end) {
    if (++saw.phase == kSawEvents) {
      saw.phase = 0;
      saw.accumulator = 0;
    } else {
      saw.accumulator = (saw.accumulator + rate) & 0xFF;
    }
    const int32_t amp = saw.accumulator >> 3;
    if (amp != saw.lastAmp) {
      sawSynth.addStepAtClock(time, amp - saw.lastAmp, *output);
      saw.lastAmp = amp;
    }
    time += timerPeriod;
  }
  saw.delay = time - end;
  return true;
}

}  // namespace qc
