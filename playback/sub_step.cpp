#include "playback/sub_step.h"

#include "playback/engine.h"
#include "playback/player_tables.h"

namespace qc {

namespace {

constexpr uint32_t kPcmTrackBit = 1u << kPcmTrack;

// Pulses and noise at constant volume 0, the triangle's linear counter at 0.
void muteToneChannels(Engine& engine) {
  apuWrite(engine, 0x4000, 0x30);
  apuWrite(engine, 0x4004, 0x30);
  apuWrite(engine, 0x4008, 0x00);
  apuWrite(engine, 0x400C, 0x30);
}

// The register values of a silent chip: muted, the pulse sweeps off.
void resetRegisters(Engine& engine, uint32_t channelMask) {
  muteToneChannels(engine);
  apuWrite(engine, 0x4001, 0x0F);
  apuWrite(engine, 0x4005, 0x0F);
  apuWrite(engine, 0x4015, uint8_t(channelMask));
  apuWrite(engine, 0x9000, 0x00);
}

void silenceEverything(Player& p, Engine& engine) {
  for (ChannelState& c : p.channels) {
    c.note = 0;
    c.instrument = 0;
    c.effect = 0;
    c.param = 0;
  }
  p.pcmSample = 0;
  muteToneChannels(engine);
  apuWrite(engine, 0x4015, 0x1F);
  apuWrite(engine, 0x9000, 0x00);
  p.sequencerRunning = false;
}

// Streams the raw sample one byte per 0.5 sub-steps or so. The slot is looked
// at afresh every sub-step: the main thread may empty or replace it (under the
// audio lock) between two of them.
void streamSample(Player& p, Engine& engine) {
  const RawSample& sample = p.song->samples[p.pcmSample & 0xFF];
  const uint32_t length = sample.length();
  uint32_t index = uint32_t(p.pcmPosition);
  if (index >= length) {
    p.pcmSample = 0;  // emptied or shortened under the stream
    return;
  }
  if (p.options.channelMask & kPcmTrackBit) apuWrite(engine, 0x4011, sample.data[index]);
  if (p.sampleLoopPending) return;
  p.pcmPosition += pcmStep(p.song->ntsc);
  index = uint32_t(p.pcmPosition);
  if (index >= length) {
    if (sample.loop) {
      // Hold the last byte; the next frame starts the sample again.
      p.pcmPosition = length - 1;
      p.sampleLoopPending = true;
    } else {
      p.pcmSample = 0;
    }
  }
}

void carryOutRequests(Player& p, Engine& engine) {
  if (p.clockChanged) {
    setupChipClock(engine, p.song->ntsc);
    buildPeriodTable(p);
    p.clockChanged = false;
  }
  if (p.channelMaskChanged) {
    apuWrite(engine, 0x4015, uint8_t(p.options.channelMask));
    // A full period write reloads the length counter that disabling cleared.
    for (int ch = 0; ch < kToneChannels; ++ch)
      if (p.options.channelMask & (1u << ch)) p.channels[ch].lastPeriod = -1;
    p.channelMaskChanged = false;
  }
  if (p.apuResetRequest) {
    resetRegisters(engine, p.options.channelMask);
    p.apuResetRequest = false;
  }
  if (p.silenceRequest) {
    silenceEverything(p, engine);
    p.silenceRequest = false;
  }
}

}  // namespace

void playerSubStep(Player& p) {
  if (!p.engine) return;
  // Most sub-steps have no request: one test for all four.
  if (p.clockChanged | p.channelMaskChanged | p.apuResetRequest | p.silenceRequest) carryOutRequests(p, *p.engine);
  if (p.pcmSample != 0) streamSample(p, *p.engine);
}

void setChannelMask(Player& p, uint32_t mask) {
  p.options.channelMask = mask;
  p.channelMaskChanged = true;
}

}  // namespace qc
