#include "song/song.h"

#include <algorithm>

namespace qc {

int usedPatternCount(const Song& song) {
  for (int p = kPatterns - 1; p >= 0; --p) {
    const auto& cells = song.patterns[p].cells;
    const bool used = std::any_of(&cells[0][0], &cells[0][0] + kChannels * kRows,
                                  [](const Cell& c) { return !c.empty(); });
    if (used) return p + 1;
  }
  return 0;
}

int envelopeLength(const Envelope& envelope) {
  for (int i = 0; i < kEnvelopeValueSlots; ++i)
    if (envelope.values[i] == kEnvelopeEnd) return i;
  return -1;
}

void setEnvelope(Envelope& envelope, std::initializer_list<int32_t> values, int32_t loop) {
  int i = 0;
  for (int32_t v : values) {
    if (i == kEnvelopeValueSlots - 1) break;
    envelope.values[i++] = v;
  }
  envelope.values[i] = kEnvelopeEnd;
  envelope.loop = loop;
}

void writeProgramStartInstruments(Song& song) {
  for (auto& slot : song.envelopes) {
    setEnvelope(slot[kVolumeEnvelope], {0});
    setEnvelope(slot[kNoteEnvelope], {64});
    setEnvelope(slot[kDutyEnvelope], {0});
  }
  setEnvelope(song.envelopes[1][kVolumeEnvelope], {15});
  setEnvelope(song.envelopes[1][kDutyEnvelope], {2});
}

}  // namespace qc
