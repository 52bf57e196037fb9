#include "playback/sample_channel.h"

namespace qc {

namespace {

constexpr uint8_t kLoop = 0x40;
constexpr int32_t kMaxLevel = 0x7F;

}  // namespace

void SampleChannel::write(int reg, uint8_t value) {
  if (reg == 0)
    timerPeriod = kSampleRates[pal ? 1 : 0][value & 15];
  else if (reg == 1)
    level = value & kMaxLevel;
}

void SampleChannel::reload() {
  address = 0x4000 + regs[2] * 0x40;
  bytesRemaining = regs[3] * 0x10 + 1;
}

void SampleChannel::start(uint8_t& status) {
  reload();
  fillByteBuffer(status);
}

void SampleChannel::fillByteBuffer(uint8_t& status) {
  if (byteBufferFull || !bytesRemaining || !sampleReader) return;
  byteBuffer = sampleReader(uint16_t(0x8000 + address));
  address = (address + 1) & 0x7FFF;
  byteBufferFull = true;
  if (--bytesRemaining == 0) {
    if (regs[0] & kLoop)
      reload();
    else
      status &= uint8_t(~kSampleStatusBit);
  }
}

void SampleChannel::run(const StepSynth& synth, int32_t end, uint8_t& status) {
  if (end <= runTime) return;
  int32_t time = runTime;
  runTime = end;
  if (!output) return;
  const int32_t delta = updateAmp(level);
  if (delta) synth.addStepAtClock(time, delta, *output);

  time += delay;
  if (time < end) {
    if (silent && !byteBufferFull) {
      // Nothing to play: keep the bit count in step. A slice spans few
      // periods, so counting beats dividing.
      do {
        time += timerPeriod;
        if (--bitsRemaining == 0) bitsRemaining = 8;
      } while (time < end);
    } else {
      DeltaBuffer& buffer = *output;
      int32_t dac = level;
      do {
        if (!silent) {
          const int32_t step = (bits & 1) * 4 - 2;
          bits >>= 1;
          if (unsigned(dac + step) <= unsigned(kMaxLevel)) {
            dac += step;
            synth.addStepAtClock(time, step, buffer);
          }
        }
        time += timerPeriod;
        if (--bitsRemaining == 0) {
          bitsRemaining = 8;
          silent = !byteBufferFull;
          if (byteBufferFull) {
            bits = byteBuffer;
            byteBufferFull = false;
            fillByteBuffer(status);
          }
        }
      } while (time < end);
      level = dac;
      lastAmp = dac;
    }
  }
  delay = time - end;
}

}  // namespace qc
