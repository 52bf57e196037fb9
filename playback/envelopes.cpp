#include "playback/envelopes.h"

#include <algorithm>

namespace qc {

namespace {

// What an envelope without any value (only from a damaged file) reads as:
// silent, unchanged pitch, duty 0.
constexpr int32_t kEmptyEnvelopeValue[kEnvelopeKinds] = {0, 64, 0};
// Value ranges by kind (volume, note byte, duty); a damaged file may hold more.
constexpr int32_t kHighestValue[kEnvelopeKinds] = {15, 255, 3};

int32_t stepEnvelope(const Envelope& envelope, int kind, int32_t& position) {
  int length = envelopeLength(envelope);
  if (length < 0) length = kEnvelopeValueSlots;
  if (length == 0) {
    position = 0;
    return kEmptyEnvelopeValue[kind];
  }
  position = std::clamp(position, 0, length - 1);
  const int32_t value = std::clamp(envelope.values[position], 0, kHighestValue[kind]);
  if (++position >= length) position = envelope.loop;
  return value;
}

}  // namespace

void stepEnvelopes(Player& player, int channel) {
  ChannelState& c = player.channels[channel];
  const auto& envelopes = player.song->envelopes[c.instrument & 0x0F];
  c.envVolume = stepEnvelope(envelopes[kVolumeEnvelope], kVolumeEnvelope, c.envPos[kVolumeEnvelope]);
  c.envNote = stepEnvelope(envelopes[kNoteEnvelope], kNoteEnvelope, c.envPos[kNoteEnvelope]);
  c.envDuty = stepEnvelope(envelopes[kDutyEnvelope], kDutyEnvelope, c.envPos[kDutyEnvelope]);
  // Bit 7 of a Note envelope value selects a fixed note; else 64 means no change.
  c.noteIndex = (c.envNote & 0x80) ? (c.envNote & 0x7F) : c.note + c.envNote - 64;
}

void stepArpeggio(ChannelState& c) {
  if (c.arpStep == 1)
    c.noteIndex += c.param & 0x0F;
  else if (c.arpStep == 2)
    c.noteIndex += c.param >> 4;
  else if (c.arpStep == 3)
    c.arpStep = 0;
  ++c.arpStep;
}

}  // namespace qc
