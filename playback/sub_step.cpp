#include "playback/audio_output.h"
#include "playback/channel_update.h"
#include "playback/player.h"
#include "song/app_state.h"

namespace {

constexpr uint32_t kPcmTrackBit = 1u << kPcmTrack;

// The register values of a silent chip: pulses and noise at constant volume
// 0, the triangle's linear counter at 0, the pulse sweeps off.
void resetRegisters() {
  apuWrite(0x4000, 0x30);
  apuWrite(0x4004, 0x30);
  apuWrite(0x4008, 0x00);
  apuWrite(0x400C, 0x30);
  apuWrite(0x4001, 0x0F);
  apuWrite(0x4005, 0x0F);
  apuWrite(0x4015, uint8_t(app.editor.channelMask));
  apuWrite(0x9000, 0x00);
}

void silenceEverything() {
  PlayerState& p = app.player;
  for (ChannelState& c : p.channels) {
    c.note = 0;
    c.instrument = 0;
    c.effect = 0;
    c.param = 0;
  }
  p.pcmSample = 0;
  apuWrite(0x4000, 0x30);
  apuWrite(0x4004, 0x30);
  apuWrite(0x4008, 0x00);
  apuWrite(0x400C, 0x30);
  apuWrite(0x4015, 0x1F);
  apuWrite(0x9000, 0x00);
  p.sequencerRunning = false;
}

// Streams the raw sample one byte per 0.5 sub-steps or so. The slot is looked
// at afresh every sub-step: the main thread may empty or replace it (under the
// audio lock) between two of them.
void streamSample() {
  PlayerState& p = app.player;
  const RawSample& sample = app.song.samples[p.pcmSample & 0xFF];
  const uint32_t length = sample.length();
  uint32_t index = uint32_t(p.pcmPosition);
  if (index >= length) {
    p.pcmSample = 0;  // emptied or shortened under the stream
    return;
  }
  if (app.editor.channelMask & kPcmTrackBit) apuWrite(0x4011, sample.data[index]);
  if (p.sampleLoopPending) return;
  p.pcmPosition += pcmStep();
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

}  // namespace

void playerSubStep() {
  PlayerState& p = app.player;
  EditorState& e = app.editor;
  if (p.exportMode) return;
  if (p.clockChanged) {
    setupChipClock();
    buildPeriodTable();
    p.clockChanged = false;
  }
  if (e.channelMaskChanged) {
    apuWrite(0x4015, uint8_t(e.channelMask));
    // A full period write reloads the length counter that disabling cleared.
    for (int ch = 0; ch < kToneChannels; ++ch)
      if (e.channelMask & (1u << ch)) p.channels[ch].lastPeriod = -1;
    e.channelMaskChanged = false;
  }
  if (p.apuResetRequest) {
    resetRegisters();
    p.apuResetRequest = false;
  }
  if (p.silenceRequest) {
    silenceEverything();
    p.silenceRequest = false;
  }
  if (p.pcmSample != 0) streamSample();
}
