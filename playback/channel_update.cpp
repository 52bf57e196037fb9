#include "playback/channel_update.h"

#include <algorithm>

#include "playback/channel_effects.h"
#include "playback/envelopes.h"
#include "playback/register_output.h"

namespace qc {

namespace {

constexpr int kHighestLookupNote = 95;  // entry 96 of the period table is never used

bool slidesFromOldPitch(int effect) { return effect == kTonePortamento || effect == kTonePortamentoVolumeSlide; }

void startChannelRow(Player& p, int channel) {
  ChannelState& c = p.channels[channel];
  const Cell& cell = playingCell(p, channel);
  c.noteDelay = 0;
  const int duty = applyRowStartEffect(p, channel, cell);
  if (c.noteDelay == 0 && !triggerNote(p, channel, cell)) stepEnvelopes(p, channel);
  if (cell.effect() == kArpeggio && cell.param != 0) stepArpeggio(c);
  if (duty != -1) c.dutyOverride = duty;
  c.period = periodOf(p, c.noteIndex);
}

void tickChannel(Player& p, int channel) {
  ChannelState& c = p.channels[channel];
  if (c.noteDelay != 0 && --c.noteDelay == 0) triggerNote(p, channel, playingCell(p, channel));
  if (c.note == 0) return;
  stepEnvelopes(p, channel);  // a delayed note's envelopes move twice on its first tick
  applyTickEffect(p, channel);
  c.period = periodOf(p, c.noteIndex);
}

}  // namespace

int32_t periodOf(const Player& p, int32_t noteIndex) {
  return p.periodTable[std::clamp(noteIndex, 0, kHighestLookupNote)];
}

const Cell& playingCell(const Player& p, int track) {
  const Song& song = *p.song;
  const int order = std::clamp(p.playOrder, 0, kMaxOrders - 1);
  const int pattern = std::clamp(song.orders[order], 0, kPatterns - 1);
  return song.patterns[pattern].cells[track][std::clamp(p.playRow, 0, kRows - 1)];
}

void startRow(Player& p) {
  for (int ch = 0; ch < kToneChannels; ++ch) startChannelRow(p, ch);
  const uint8_t sample = playingCell(p, kPcmTrack).note;
  p.capture.field[kCapSample] = sample;
  if (sample != 0) {
    p.pcmSample = sample;
    p.pcmPosition = 0.0;
  }
}

void tickChannels(Player& p) {
  for (int ch = 0; ch < kToneChannels; ++ch) tickChannel(p, ch);
  p.capture.field[kCapSample] = 0;
}

void idleChannels(Player& p) {
  for (ChannelState& c : p.channels) c.period = periodOf(p, c.noteIndex);
  writeChannelRegisters(p);
  for (int ch = 0; ch < kToneChannels; ++ch) stepEnvelopes(p, ch);
}

bool triggerNote(Player& p, int channel, const Cell& cell) {
  if (channel < 0 || channel >= kToneChannels) return false;
  ChannelState& c = p.channels[channel];
  bool started = false;
  if (cell.note == kNoteOff) {
    c.note = 0;
    c.volume = 0;
  } else if (cell.note != 0) {
    c.note = cell.note;
    started = true;
  }
  if (cell.instrument() != 0) {
    c.instrument = uint8_t(cell.instrument());
    started = true;
  }
  c.effect = uint8_t(cell.effect());
  c.param = cell.param;
  if (!started) return false;

  const bool slide = slidesFromOldPitch(c.effect);
  if (!slide) {
    c.envPos = {};
    c.periodOffset = 0;
    c.tremoloOffset = 0;
    c.arpStep = 0;
  }
  stepEnvelopes(p, channel);
  if (!slide && c.effect != kVolumeDuty) c.volume = 15;
  c.dutyOverride = -1;
  const int32_t period = periodOf(p, c.noteIndex);  // as the envelopes just left it
  // Under tone portamento the new note starts at the old pitch and slides in.
  if (slide) c.periodOffset = c.period - period;
  c.period = period;
  return true;
}

void silenceChannel(Player& p, int channel) {
  if (channel >= 0 && channel < kToneChannels) p.channels[channel].volume = 0;
}

}  // namespace qc
