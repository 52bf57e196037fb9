#include "playback/stem_buffer.h"

#include <algorithm>

#include "playback/nonlinear_buffer.h"

namespace qc {

namespace {
constexpr int32_t kFirstMappedChannel = 2;  // triangle, noise and sample channel
}  // namespace

Stem_Buffer::Stem_Buffer() : Multi_Buffer(kChipChannels) {
  for (NonlinearMapper& mapper : mappers) mapper.enabled = true;
}

ChannelBuffers Stem_Buffer::channelBuffers(int32_t index) {
  DeltaBuffer* buffer = &channels[index >= 0 && index < kChipChannels ? index : 0];
  return {buffer, buffer, buffer};
}

const char* Stem_Buffer::setSampleRate(int32_t rate, int32_t length) {
  for (DeltaBuffer& buffer : channels)
    if (!buffer.setSampleRate(rate, length)) return kOutOfMemory;
  sampleRate = rate;
  lengthMs = length;
  return nullptr;
}

void Stem_Buffer::setClockRate(int32_t clocksPerSecond) {
  for (DeltaBuffer& buffer : channels) buffer.setClockRate(clocksPerSecond);
}

void Stem_Buffer::setBassFrequency(int32_t hz) {
  for (DeltaBuffer& buffer : channels) buffer.setBassFrequency(hz);
}

void Stem_Buffer::clearBuffer() {
  for (NonlinearMapper& mapper : mappers) mapper.integrator = kMapperRest;
  for (DeltaBuffer& buffer : channels) buffer.clear();
}

void Stem_Buffer::endFrame(int32_t clocks, bool) {
  for (DeltaBuffer& buffer : channels) buffer.endFrame(clocks);
}

int32_t Stem_Buffer::readSamples(int16_t* destination, int32_t maximum) {
  const int32_t count = std::min(maximum, samplesAvailable());
  if (count <= 0) return 0;
  for (int32_t c = 0; c < kChipChannels; ++c) {
    DeltaBuffer& buffer = channels[c];
    if (c >= kFirstMappedChannel) mappers[c].apply(buffer, count);
    const uint16_t* entry = buffer.entries.data();
    int32_t level = buffer.integrator;
    for (int32_t i = 0; i < count; ++i) {
      destination[i * kChipChannels + c] = saturated(level >> 15);
      level -= level >> buffer.bassShift;
      level += (int32_t(entry[i]) - kRestEntry) * 32768;
    }
    buffer.integrator = level;
    buffer.removeSamples(count);
  }
  return count;
}

}  // namespace qc
