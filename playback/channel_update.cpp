#include "playback/channel_update.h"

#include <algorithm>

#include "playback/channel_effects.h"
#include "song/app_state.h"

namespace {

constexpr int kHighestLookupNote = 95;  // entry 96 of the period table is never used

int32_t periodOf(int32_t noteIndex) {
  return app.player.periodTable[std::clamp(noteIndex, 0, kHighestLookupNote)];
}

bool slidesFromOldPitch(int effect) { return effect == kTonePortamento || effect == kTonePortamentoVolumeSlide; }

void startChannelRow(int channel) {
  ChannelState& c = app.player.channels[channel];
  const Cell& cell = playingCell(channel);
  c.noteDelay = 0;
  const int duty = applyRowStartEffect(channel, cell);
  if (c.noteDelay == 0 && !triggerNote(channel, cell)) stepEnvelopes(channel);
  if (cell.effect() == kArpeggio && cell.param != 0) stepArpeggio(channel);
  if (duty != -1) c.dutyOverride = duty;
  c.period = periodOf(c.noteIndex);
}

void tickChannel(int channel) {
  ChannelState& c = app.player.channels[channel];
  if (c.noteDelay != 0 && --c.noteDelay == 0) triggerNote(channel, playingCell(channel));
  if (c.note == 0) return;
  stepEnvelopes(channel);  // a delayed note's envelopes move twice on its first tick
  applyTickEffect(channel);
  c.period = periodOf(c.noteIndex);
}

}  // namespace

const Cell& playingCell(int track) {
  const PlayerState& p = app.player;
  const int order = std::clamp(p.playOrder, 0, kMaxOrders - 1);
  const int pattern = std::clamp(app.song.orders[order], 0, kPatterns - 1);
  return app.song.patterns[pattern].cells[track][std::clamp(p.playRow, 0, kRows - 1)];
}

void startRow() {
  PlayerState& p = app.player;
  for (int ch = 0; ch < kToneChannels; ++ch) startChannelRow(ch);
  const uint8_t sample = playingCell(kPcmTrack).note;
  p.capture.field[kCapSample] = sample;
  if (sample != 0) {
    p.pcmSample = sample;
    p.pcmPosition = 0.0;
  }
}

void tickChannels() {
  for (int ch = 0; ch < kToneChannels; ++ch) tickChannel(ch);
  app.player.capture.field[kCapSample] = 0;
}

void idleChannels() {
  for (ChannelState& c : app.player.channels) c.period = periodOf(c.noteIndex);
  writeChannelRegisters();
  for (int ch = 0; ch < kToneChannels; ++ch) stepEnvelopes(ch);
}

bool triggerNote(int channel, const Cell& cell) {
  if (channel < 0 || channel >= kToneChannels) return false;
  ChannelState& c = app.player.channels[channel];
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
  stepEnvelopes(channel);
  if (!slide && c.effect != kVolumeDuty) c.volume = 15;
  c.dutyOverride = -1;
  const int32_t n = (c.envNote & 0x80) ? (c.envNote & 0x7F) : c.note + c.envNote - 64;
  const int32_t period = periodOf(n);
  // Under tone portamento the new note starts at the old pitch and slides in.
  if (slide) c.periodOffset = c.period - period;
  c.period = period;
  return true;
}

void silenceCursorChannel() {
  const int channel = app.editor.cursorChannel;
  if (channel >= 0 && channel < kToneChannels) app.player.channels[channel].volume = 0;
}
