// The instrument list and the envelope editor of the current instrument.
#pragma once

#include <string>

#include "song/song.h"

namespace qc {

// What the editor shows of one envelope.
struct EnvelopeView {
  int first = 0;       // first visible step
  std::string steps;   // step numbers, five columns each
  std::string values;  // "... " or four spaces, the values, "..." when more follow
};

EnvelopeView envelopeView(const Envelope& envelope, EnvelopeKind kind, int cursor);

void drawInstrumentEditor();
void drawInstrumentList();
// The blinking underline of the name being typed.
void drawNameCursor(uint32_t ticks);

}  // namespace qc
