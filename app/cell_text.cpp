#include "app/cell_text.h"

#include <cstdio>

#include "app/font.h"

namespace qc {

namespace {

constexpr const char* kNoteNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-",
                                        "F#", "G-", "G#", "A-", "A#", "B-"};

const std::string kThreeDots(3, kDotGlyph);

char hexDigit(int value) { return "0123456789ABCDEF"[value & 0x0F]; }

}  // namespace

CellText formatCell(const Cell& cell) {
  CellText text;
  if (cell.note == 0) {
    text.note = kThreeDots;
  } else if (cell.note == kNoteOff) {
    text.note = "OFF";
  } else {
    text.note = std::string(kNoteNames[(cell.note - 1) % 12]) + std::to_string((cell.note - 1) / 12);
  }
  text.instrument = cell.instrument() == 0 ? std::string(1, kDotGlyph) : std::string(1, hexDigit(cell.instrument()));
  if (cell.effect() == 0 && cell.param == 0) {
    text.effect = std::string(1, kDotGlyph);
    text.param = {kDotGlyph, kDotGlyph, kBarGlyph};
  } else {
    text.effect = std::string(1, hexDigit(cell.effect()));
    // The low nibble holds the digit typed first.
    text.param = {hexDigit(cell.param & 0x0F), hexDigit(cell.param >> 4), kBarGlyph};
  }
  return text;
}

std::string formatSampleCell(const Cell& cell) {
  if (cell.note == 0) return kThreeDots;
  char text[4];
  std::snprintf(text, sizeof text, "x%02X", cell.note);
  return text;
}

}  // namespace qc
