#include "playback/register_output.h"

#include <algorithm>
#include <cstdlib>

#include "playback/engine.h"

namespace qc {

namespace {

constexpr int kTriangle = 2;
constexpr int kNoise = 3;
constexpr int32_t kHighestPeriod = 2047;  // 11-bit timers
constexpr int kTriangleAudibleVolume = 8;

// Channel volume (with tremolo) scaled by the Volume envelope, 0..15.
int32_t scaledVolume(const ChannelState& c) {
  const int32_t volume = std::clamp(c.volume + c.tremoloOffset, 0, 15);
  return std::clamp(volume * c.envVolume / 15, 0, 15);
}

int32_t writtenPeriod(const ChannelState& c) {
  return int32_t(std::clamp<int64_t>(int64_t(c.period) + c.periodOffset, 0, kHighestPeriod));
}

}  // namespace

void playerWrite(Player& p, uint32_t address, uint8_t value) {
  if (p.engine) apuWrite(*p.engine, address, value);
}

void writeChannelRegisters(Player& p) {
  auto& channels = p.channels;
  // Without capture the values go nowhere.
  ExportCapture discarded;
  auto& field = p.options.capture ? p.capture.field : discarded.field;

  // The triangle has no volume: it is off or at full amplitude. Writing
  // 0x400B again every frame restarts its linear counter.
  const bool triangleOn = scaledVolume(channels[kTriangle]) >= kTriangleAudibleVolume;
  if (triangleOn) channels[kTriangle].lastPeriod = -1;
  const uint8_t triangleControl = triangleOn ? 0xFF : 0x00;
  playerWrite(p, 0x4008, triangleControl);
  field[kCapTriangleOn] = triangleControl;

  for (int ch = 0; ch < 2; ++ch) {
    const ChannelState& c = channels[ch];
    const int32_t duty = (c.dutyOverride != -1 ? c.dutyOverride : c.envDuty) & 3;
    const int32_t volume = scaledVolume(c);
    // Constant volume, length counter halted.
    playerWrite(p, 0x4000 + 4 * ch, uint8_t((duty << 6) | volume | 0x30));
    field[kCapPulse1DutyVolume + 3 * ch] = (duty << 4) | volume;
  }

  for (int ch = 0; ch <= kTriangle; ++ch) {
    ChannelState& c = channels[ch];
    const int32_t period = writtenPeriod(c);
    bool audible = triangleOn;
    if (ch == kTriangle) {
      playerWrite(p, 0x400A, uint8_t(period & 0xFF));
      if ((period >> 8) != (c.lastPeriod >> 8)) playerWrite(p, 0x400B, uint8_t(period >> 8));
      c.lastPeriod = period;
    } else {
      writePulsePeriod(p, ch, period);
      audible = scaledVolume(c) != 0;
    }
    field[kCapPulse1High + 3 * ch] = audible ? period >> 8 : -1;
    field[kCapPulse1Low + 3 * ch] = audible ? period & 0xFF : -1;
  }

  // A higher note selects a shorter noise period.
  const ChannelState& noise = channels[kNoise];
  const int32_t noiseVolume = scaledVolume(noise);
  const int32_t periodIndex = (15 - noise.noteIndex) & 15;
  const int32_t mode = noise.envDuty & 1;
  playerWrite(p, 0x400C, uint8_t(noiseVolume | 0x30));
  field[kCapNoiseVolume] = noiseVolume;
  playerWrite(p, 0x400E, uint8_t((mode << 7) | periodIndex));
  playerWrite(p, 0x400F, 0x00);
  field[kCapNoiseModePeriod] = noiseVolume != 0 ? (mode << 4) | periodIndex : -1;
}

void writePulsePeriod(Player& p, int channel, int period) {
  ChannelState& c = p.channels[channel];
  const uint32_t base = 0x4000 + 4 * channel;
  const int high = period >> 8;
  const int oldHigh = c.lastPeriod >> 8;
  if (high == oldHigh) {
    playerWrite(p, base + 2, uint8_t(period & 0xFF));
  } else if (c.lastPeriod == -1 || std::abs(high - oldHigh) > 1) {
    // A write to the high byte restarts the waveform's phase.
    playerWrite(p, base + 2, uint8_t(period & 0xFF));
    playerWrite(p, base + 3, uint8_t(high));
  } else {
    // Carry the high byte through the sweep unit instead, keeping the phase:
    // set the low byte to the edge, sweep by shift 7 once (the 0x4017 write
    // of five-step mode clocks it at once), then set the real low byte.
    const bool up = high > oldHigh;
    playerWrite(p, 0x4017, 0x40);
    playerWrite(p, base + 2, up ? 0xFF : 0x00);
    playerWrite(p, base + 1, up ? 0x87 : 0x8F);
    playerWrite(p, 0x4017, 0xC0);
    playerWrite(p, base + 1, 0x0F);
    playerWrite(p, base + 2, uint8_t(period & 0xFF));
  }
  c.lastPeriod = period;
}

}  // namespace qc
