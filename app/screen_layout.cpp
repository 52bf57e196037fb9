#include "app/screen_layout.h"

#include <cmath>
#include <cstring>

#include "app/surfaces.h"
#include "editor/pattern_cursor.h"
#include "song/song.h"

namespace qc {

namespace {

constexpr int kOrderEntryWidth = 48;        // "01: 00"
constexpr int kInstrumentEntryWidth = 280;  // " F: " and a 30-character name
constexpr int kEnvelopeCursorColumn = 58;
// Note column of track 0; each track's fields sit 0, 4, 6, 7 and 8 columns after its note.
constexpr int kTrackNoteColumn = 3;
constexpr int kFieldOffsets[kCursorColumns] = {0, 4, 6, 7, 8};

int trackNoteColumn(int track) { return kTrackColumns * track + kTrackNoteColumn; }

}  // namespace

ScreenRect patternFieldRect(int track, int column, int line) {
  const int width = column == 0 ? 3 * kGlyphWidth : kGlyphWidth;
  return {(trackNoteColumn(track) + kFieldOffsets[column]) * kGlyphWidth, (line + 1) * kGlyphHeight, width,
          kGlyphHeight};
}

ScreenRect headingRect(int track) {
  return {trackNoteColumn(track) * kGlyphWidth, kHeadingLine * kGlyphHeight,
          int(std::strlen(kChannelNames[track])) * kGlyphWidth, kGlyphHeight};
}

ScreenRect orderEntryRect(int shown) {
  return {kOrderListX, (kOrderFirstLine + shown) * kGlyphHeight, kOrderEntryWidth, kGlyphHeight};
}

ScreenRect instrumentEntryRect(int slot) {
  return {kInstrumentX, (kInstrumentFirstLine + slot) * kGlyphHeight, kInstrumentEntryWidth, kGlyphHeight};
}

ScreenRect envelopeStepRect(int kind, int shown) {
  constexpr int kWidths[kEnvelopeKinds] = {2, 4, 1};  // as wide as the values of each kind
  return {(kStepColumns * shown + kEnvelopeCursorColumn) * kGlyphWidth,
          (kEnvelopeFirstLine + 2 * kind + 1) * kGlyphHeight, kWidths[kind] * kGlyphWidth, kGlyphHeight};
}

int firstVisibleRow(int cursorRow) {
  constexpr int kLastFirst = kRows - kVisibleRows;  // 29
  if (cursorRow < kCursorLine) return 0;
  if (cursorRow - (kCursorLine - 1) > kLastFirst) return kLastFirst;
  return cursorRow - (kCursorLine - 1);
}

int firstVisibleOrder(int orderCount, int orderCursor) {
  constexpr int kHalf = kVisibleOrders / 2;  // 7
  if (orderCount <= kVisibleOrders || orderCursor <= kHalf) return 0;
  if (orderCursor < orderCount - kHalf) return orderCursor - kHalf;
  return orderCount - kVisibleOrders;
}

int firstVisibleStep(int length, int cursor) {
  constexpr int kHalf = kVisibleSteps / 2;  // 3
  if (length <= kVisibleSteps || cursor <= kHalf) return 0;
  if (cursor < length - kHalf) return cursor - kHalf;
  return length - kVisibleSteps;
}

int blinkLevel(uint32_t ticks) {
  // 3.1415f rather than pi, so the level at every tick is the established one.
  const float phase = 2 * 3.1415f * float(ticks % 500) / 500;
  return int((std::sin(double(phase)) + 1) * 64 + 127);
}

}  // namespace qc
