#include "playback/channel_effects.h"

#include <algorithm>

#include "playback/envelopes.h"

namespace qc {

namespace {

// Slides may run for hours; keep the offset far beyond any audible period
// (the summed period is clamped to 0..2047) but away from int32 overflow.
constexpr int32_t kPeriodOffsetLimit = 1 << 20;

enum ExtendedCommand {
  kFinePitchUp = 0x1,
  kFinePitchDown = 0x2,
  kFineVolumeUp = 0xA,
  kFineVolumeDown = 0xB,
  kNoteDelay = 0xD,
};

constexpr int kNoiseChannel = 3;
constexpr int kMaxVolume = 15;

void addToPeriodOffset(ChannelState& c, int32_t amount) {
  c.periodOffset = std::clamp(c.periodOffset + amount, -kPeriodOffsetLimit, kPeriodOffsetLimit);
}

void applyExtended(ChannelState& c, int channel, int command, int value) {
  switch (command) {
    case kFinePitchUp:
      // The noise has no fine pitch: the note moves instead.
      if (channel == kNoiseChannel)
        ++c.note;
      else
        addToPeriodOffset(c, -value);
      break;
    case kFinePitchDown:
      if (channel == kNoiseChannel)
        --c.note;
      else
        addToPeriodOffset(c, value);
      break;
    case kFineVolumeUp:
      if (value != 0) c.slideUp = value;
      c.volume = std::min(c.volume + c.slideUp, kMaxVolume);
      break;
    case kFineVolumeDown:
      if (value != 0) c.slideDown = value;
      c.volume = std::max(c.volume - c.slideDown, 0);
      break;
    case kNoteDelay:
      if (value != 0) c.noteDelay = value;
      break;
    default:
      break;
  }
}

void volumeSlide(ChannelState& c) {
  c.volume = std::min(c.volume + c.slideUp, kMaxVolume);
  c.volume = std::max(c.volume - c.slideDown, 0);
}

void tonePortamentoStep(ChannelState& c) {
  if (c.periodOffset < 0)
    c.periodOffset = std::min(c.periodOffset + c.portaSpeed, 0);
  else if (c.periodOffset > 0)
    c.periodOffset = std::max(c.periodOffset - c.portaSpeed, 0);
}

// The vibrato and tremolo amplitude at the channel's position; negative in
// the second half of the cycle.
int32_t modulationStep(const Player& p, ChannelState& c) {
  const int32_t wave = p.vibratoWave[c.vibratoPos & 63];
  int32_t a = p.vibratoTable[(wave | (c.vibratoDepth & 15)) & 255];
  if (c.vibratoPos >= 32) a = -a;
  c.vibratoPos = (c.vibratoPos + c.vibratoSpeed) & 63;
  return a;
}

}  // namespace

int applyRowStartEffect(Player& p, int channel, const Cell& cell) {
  ChannelState& c = p.channels[channel];
  const uint8_t param = cell.param;
  const int x = firstDigit(param);
  const int y = secondDigit(param);
  switch (cell.effect()) {
    case kPortamentoUp:
    case kPortamentoDown:
    case kTonePortamento:
      if (param != 0) c.portaSpeed = x * 16 + y;
      break;
    case kVibrato:
    case kTremolo:
      if (param != 0) {
        c.vibratoSpeed = x;
        c.vibratoDepth = y;
      }
      break;
    case kTonePortamentoVolumeSlide:
    case kVibratoVolumeSlide:
    case kVolumeSlide:
      if (param != 0) {
        c.slideUp = x;
        c.slideDown = y;
      }
      break;
    case kOrderJump:
      p.pendingOrderJump = x * 16 + y;
      break;
    case kVolumeDuty:
      c.volume = y;
      if (x != 0) return (x - 1) & 3;
      break;
    case kPatternBreak:
      p.pendingBreakRow = x * 10 + y;  // read as decimal digits
      break;
    case kExtended:
      applyExtended(c, channel, x, y);
      break;
    case kSpeedTempo:
      if (x * 16 + y < kSpeedLimit)
        p.speed = x * 16 + y;
      else
        p.tempo = x * 16 + y;
      break;
    default:
      break;
  }
  return -1;
}

void applyTickEffect(Player& p, int channel) {
  ChannelState& c = p.channels[channel];
  switch (c.effect) {
    case kArpeggio:
      if (c.param != 0) stepArpeggio(c);
      break;
    case kPortamentoUp:
      addToPeriodOffset(c, -c.portaSpeed);
      break;
    case kPortamentoDown:
      addToPeriodOffset(c, c.portaSpeed);
      break;
    case kTonePortamento:
      tonePortamentoStep(c);
      break;
    case kVibrato:
      c.periodOffset = modulationStep(p, c);
      break;
    case kTonePortamentoVolumeSlide:
      volumeSlide(c);
      tonePortamentoStep(c);
      break;
    case kVibratoVolumeSlide:
      volumeSlide(c);
      c.periodOffset = modulationStep(p, c);
      break;
    case kTremolo:
      c.tremoloOffset = modulationStep(p, c) / 4;
      break;
    case kVolumeSlide:
      volumeSlide(c);
      break;
    default:
      break;
  }
}

}  // namespace qc
