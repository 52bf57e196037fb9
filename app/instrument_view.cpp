#include "app/instrument_view.h"

#include <algorithm>
#include <cstdio>

#include "app/palette.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kEditorTitleY = 464;  // line 29
constexpr int kStepNumbersX = 472;  // column 59, beside the label
constexpr int kValuesX = 440;       // column 55; values line up with the step numbers
constexpr int kValueColumn = 59;
constexpr int kNoteBias = 64;       // a Note value of 64 means no transposition
constexpr int kFixedNote = 0x80;    // bit 7: an absolute note, not an offset

constexpr const char* kLabels[kEnvelopeKinds] = {" Volume", " Note", " Duty/Mode"};

std::string valueText(EnvelopeKind kind, int value) {
  char text[24];
  if (kind == kVolumeEnvelope) {
    std::snprintf(text, sizeof text, "%-4d ", value);
  } else if (kind == kDutyEnvelope) {
    std::snprintf(text, sizeof text, "%-4d ", value + 1);
  } else if (value & kFixedNote) {
    std::snprintf(text, sizeof text, "%-5s", (std::to_string(value & 0x7F) + "!").c_str());
  } else {
    std::snprintf(text, sizeof text, "%-4d ", value - kNoteBias);
  }
  return text;
}

int labelY(int kind) { return (kEnvelopeFirstLine + 2 * kind) * kGlyphHeight; }

}  // namespace

EnvelopeView envelopeView(const Envelope& envelope, EnvelopeKind kind, int cursor) {
  const int length = envelopeLength(envelope);
  EnvelopeView view;
  view.first = firstVisibleStep(length, cursor);
  view.values = view.first > 0 ? "... " : "    ";
  int step = view.first;
  for (; step < length && step < view.first + kVisibleSteps; ++step) {
    char number[16];
    std::snprintf(number, sizeof number, "%-4d ", step);
    view.steps += number;
    view.values += valueText(kind, envelope.values[step]);
  }
  // An envelope without its end marker shows none of its values, only the dots.
  if (length < 0 || step < length) {
    view.values.pop_back();
    view.values += "...";
  }
  return view;
}

void drawInstrumentEditor() {
  const int instrument = app.editor.currentInstrument;
  if (instrument <= 0 || instrument >= kInstrumentSlots) {
    drawText("(No instrument selected)", kInstrumentX, kEditorTitleY, kLightBlue);
    return;
  }
  drawText("Instrument Editor", kInstrumentX, kEditorTitleY, kGreen);
  for (int k = 0; k < kEnvelopeKinds; ++k) drawText(kLabels[k], kInstrumentX, labelY(k), kBlue);
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    const Envelope& envelope = app.song.envelopes[instrument][k];
    const EnvelopeView view = envelopeView(envelope, EnvelopeKind(k), app.editor.envelopeCursor[k]);
    drawText(view.steps, kStepNumbersX, labelY(k), kLightBlue);
    drawText(view.values, kValuesX, labelY(k) + kGlyphHeight, kWhite);
    const int loopOffset = envelope.loop - view.first;
    if (loopOffset >= 0 && loopOffset < kVisibleSteps) {
      const int x = kGlyphWidth * (kStepColumns * loopOffset + kValueColumn) - 3;
      drawVLine(x, labelY(k), labelY(k + 1) - 3, kWhite);
    }
  }
}

void drawInstrumentList() {
  drawText("Instruments", kInstrumentX, (kInstrumentFirstLine - 1) * kGlyphHeight, kGreen);
  drawText("    (no instrument)", kInstrumentX, kInstrumentFirstLine * kGlyphHeight, kLightBlue);
  for (int i = 1; i < kInstrumentSlots; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%2X: ", i);
    const ScreenRect entry = instrumentEntryRect(i);
    drawText(number + app.song.instrumentNames[i], entry.x, entry.y, kWhite);
  }
}

void drawNameCursor(uint32_t ticks) {
  const EditorState& ed = app.editor;
  if (!ed.naming || ed.currentInstrument == 0 || ed.focus != kFocusInstrumentList || ticks % 400 >= 200) return;
  const int x = kGlyphWidth * (ed.nameCursor + kNameColumn);
  drawHLine(kGlyphHeight * (ed.currentInstrument + kInstrumentFirstLine + 1) - 2, x, x + kGlyphWidth, kWhite);
}

}  // namespace qc
