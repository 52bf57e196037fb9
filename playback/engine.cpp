#include "playback/engine.h"

#include <algorithm>

#include "playback/clock_rates.h"

namespace qc {

namespace {

constexpr int32_t kWriteSpacing = 4;  // CPU clocks between register writes
// A frame writes about 20 registers; thousands of writes in one sub-step
// stop advancing here, so no step lands beyond the buffer (65536 clocks are
// about 1700 samples).
constexpr int32_t kLatestWriteTime = 65536;
constexpr uint32_t kFirstChipRegister = 0x4000;
constexpr uint32_t kFirstExpansionAddress = 0x8000;
constexpr uint8_t kSampleMemoryByte = 0x55;

uint8_t readSampleMemory(uint16_t) { return kSampleMemoryByte; }

}  // namespace

Engine::Engine(bool ntsc, int32_t sampleRate) : sampleRate(sampleRate) { initAudioEngine(*this, ntsc); }

void apuWrite(Engine& engine, uint32_t address, uint8_t value) {
  engine.writeTime = std::min(engine.writeTime + kWriteSpacing, kLatestWriteTime);
  if (engine.writeObserver) engine.writeObserver(address, value, engine.writeTime);
  if (address < kFirstExpansionAddress) {
    if (address >= kFirstChipRegister) engine.soundChip.writeRegister(engine.writeTime, address, value);
    return;
  }
  engine.expansionChip.runUntil(engine.writeTime);
  engine.expansionChip.write(address, value);
}

const char* setupChipClock(Engine& engine, bool ntsc) {
  Multi_Buffer& buffer = *engine.output;
  buffer.setClockRate(chipClockRate(ntsc));
  engine.soundChip.noise.pal = !ntsc;
  const char* error = buffer.setSampleRate(engine.sampleRate, 0);
  buffer.clearBuffer();
  engine.soundChip.setSampleRate(engine.sampleRate);
  engine.expansionChip.setSampleRate(engine.sampleRate);
  engine.soundChip.setOutputLevels(true, 1.0);
  engine.outputBuffer.mapper.enabled = true;
  // Without a buffer nothing may render into it.
  engine.outputReady = error == nullptr;
  engine.expansionChip.setOutput(engine.outputReady ? buffer.channelBuffers(0).centre : nullptr);
  for (int channel = 0; channel < kChipChannels; ++channel)
    engine.soundChip.setOutput(channel, engine.outputReady ? buffer.channelBuffers(channel).centre : nullptr);
  return error;
}

const char* useOutput(Engine& engine, Multi_Buffer& buffer, bool ntsc) {
  engine.output = &buffer;
  return setupChipClock(engine, ntsc);
}

void initAudioEngine(Engine& engine, bool ntsc) {
  setupChipClock(engine, ntsc);
  engine.soundChip.sample.sampleReader = readSampleMemory;
}

}  // namespace qc
