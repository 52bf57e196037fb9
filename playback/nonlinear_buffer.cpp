#include "playback/nonlinear_buffer.h"

#include <algorithm>

namespace qc {

ChannelBuffers Nonlinear_Buffer::channelBuffers(int32_t index) {
  DeltaBuffer* buffer = (index >= 2 && index <= 4) ? &tnd : &pulse;
  return {buffer, buffer, buffer};
}

const char* Nonlinear_Buffer::setSampleRate(int32_t rate, int32_t length) {
  if (!pulse.setSampleRate(rate, length) || !tnd.setSampleRate(rate, length)) return kOutOfMemory;
  sampleRate = rate;
  lengthMs = length;
  return nullptr;
}

void Nonlinear_Buffer::setClockRate(int32_t clocksPerSecond) {
  pulse.setClockRate(clocksPerSecond);
  tnd.setClockRate(clocksPerSecond);
}

void Nonlinear_Buffer::setBassFrequency(int32_t hz) {
  pulse.setBassFrequency(hz);
  tnd.setBassFrequency(hz);
}

void Nonlinear_Buffer::clearBuffer() {
  mapper.integrator = kMapperRest;
  pulse.clear();
  tnd.clear();
}

void Nonlinear_Buffer::endFrame(int32_t clocks, bool) {
  pulse.endFrame(clocks);
  tnd.endFrame(clocks);
}

int32_t Nonlinear_Buffer::readSamples(int16_t* destination, int32_t maximum) {
  const int32_t count = std::min(maximum, tnd.samplesAvailable());
  if (count <= 0) return 0;
  if (mapper.enabled) mapper.apply(tnd, count);

  const uint16_t* pulseEntry = pulse.entries.data();
  const uint16_t* tndEntry = tnd.entries.data();
  const int32_t pulseShift = pulse.bassShift;
  const int32_t tndShift = tnd.bassShift;
  int32_t pulseLevel = pulse.integrator;
  int32_t tndLevel = tnd.integrator;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t out = (pulseLevel >> 15) + (tndLevel >> 15);
    pulseLevel -= pulseLevel >> pulseShift;
    pulseLevel += (int32_t(pulseEntry[i]) - kRestEntry) * 32768;
    tndLevel -= tndLevel >> tndShift;
    tndLevel += (int32_t(tndEntry[i]) - kRestEntry) * 32768;
    destination[i] = saturated(out);
  }
  pulse.integrator = pulseLevel;
  tnd.integrator = tndLevel;
  pulse.removeSamples(count);
  tnd.removeSamples(count);
  return count;
}

}  // namespace qc
