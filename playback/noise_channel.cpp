#include "playback/noise_channel.h"

namespace qc {

namespace {

constexpr uint8_t kShortMode = 0x80;  // feedback from bit 6: 93- or 31-step loops

}  // namespace

void NoiseChannel::run(const StepSynth& synth, int32_t end) {
  if (end <= runTime) return;
  int32_t time = runTime;
  runTime = end;
  if (!output) return;
  const int32_t volume = channelVolume(*this, envelope);
  const int32_t amp = (shift & 1) ? volume : 0;
  const int32_t delta = updateAmp(amp);
  if (delta) synth.addStepAtClock(time, delta, *output);

  time += delay;
  if (time < end) {
    const int32_t timerPeriod = (pal ? kPalNoisePeriods : kNoisePeriods)[regs[2] & 15];
    if (!volume) {
      // Silent: skip the span at once; the long mode moves on by one shift.
      time += (end - time + timerPeriod - 1) / timerPeriod * timerPeriod;
      if (!(regs[2] & kShortMode)) {
        const int32_t feedback = (shift << 13) ^ (shift << 14);
        shift = (feedback & 0x4000) | (shift >> 1);
      }
    } else {
      DeltaBuffer& buffer = *output;
      const int32_t tap = (regs[2] & kShortMode) ? 8 : 13;  // bit 6 or bit 1 lands on bit 14
      const uint32_t step = uint32_t(timerPeriod) * buffer.factor;
      uint32_t position = buffer.positionAt(time);
      int32_t bits = shift;
      int32_t level = amp * 2 - volume;  // +volume while high, -volume while low
      do {
        const int32_t feedback = (bits << tap) ^ (bits << 14);
        time += timerPeriod;
        // The output follows bit 1, which becomes bit 0.
        if ((bits + 1) & 2) {
          level = -level;
          synth.addStep(position, level, buffer);
        }
        position += step;
        bits = (feedback & 0x4000) | (bits >> 1);
      } while (time < end);
      shift = bits;
      lastAmp = (level + volume) >> 1;
    }
  }
  delay = time - end;
}

}  // namespace qc
