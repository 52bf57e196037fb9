#include "app/screen_hit.h"

#include <algorithm>

#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "editor/pattern_cursor.h"
#include "song/song.h"

namespace qc {

namespace {

// The panels' character cells, titles and "..." markers included.
constexpr int kPanelColumn = kInstrumentX / kGlyphWidth;  // the instrument list and editor
constexpr int kOrderColumn = kOrderListX / kGlyphWidth;
constexpr int kListFirstLine = kInstrumentFirstLine - 1;
constexpr int kInstrumentLastLine = kInstrumentFirstLine + kInstrumentSlots - 1;
constexpr int kOrderLastLine = kOrderFirstLine + kVisibleOrders;
constexpr int kEditorFirstLine = kEnvelopeFirstLine - 1;
constexpr int kEditorLastLine = kEnvelopeFirstLine + 2 * kEnvelopeKinds - 1;

bool onScreen(int x, int y) { return x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight; }
bool inPatternView(int x, int y) {
  return onScreen(x, y) && x < kPatternWidth && y < (kVisibleRows + 1) * kGlyphHeight;
}

}  // namespace

Panel panelAt(int x, int y) {
  if (!onScreen(x, y)) return Panel::None;
  const int column = x / kGlyphWidth, line = y / kGlyphHeight;
  if (inPatternView(x, y)) return Panel::Pattern;
  if (column >= kOrderColumn && line >= kListFirstLine && line <= kOrderLastLine) return Panel::OrderList;
  if (column >= kPanelColumn && column < kOrderColumn && line >= kListFirstLine && line <= kInstrumentLastLine)
    return Panel::InstrumentList;
  if (column >= kPanelColumn && line >= kEditorFirstLine && line <= kEditorLastLine) return Panel::InstrumentEditor;
  return Panel::None;
}

int trackAtX(int x) {
  // Each track owns its left separator; the row numbers belong to track 0.
  int track = kChannels - 1;
  while (track > 0 && x < headingRect(track).x - kGlyphWidth) --track;
  return track;
}

std::optional<int> headingAt(int x, int y) {
  if (!inPatternView(x, y) || y / kGlyphHeight != kHeadingLine) return std::nullopt;
  return trackAtX(x);
}

std::optional<PatternPoint> patternFieldAt(int x, int y) {
  if (!inPatternView(x, y) || y / kGlyphHeight == kHeadingLine) return std::nullopt;
  PatternPoint point;
  point.track = trackAtX(x);
  point.line = y / kGlyphHeight - 1;
  if (point.track == kPcmTrack) return point;  // one field only
  point.column = kCursorColumns - 1;
  while (point.column > 0 && x < patternFieldRect(point.track, point.column, 0).x) --point.column;
  return point;
}

std::optional<int> orderEntryAt(int x, int y) {
  for (int shown = 0; shown < kVisibleOrders; ++shown)
    if (orderEntryRect(shown).contains(x, y)) return shown;
  return std::nullopt;
}

std::optional<int> instrumentEntryAt(int x, int y) {
  for (int slot = 0; slot < kInstrumentSlots; ++slot)
    if (instrumentEntryRect(slot).contains(x, y)) return slot;
  return std::nullopt;
}

std::optional<EnvelopePoint> envelopeAt(int x, int y) {
  if (panelAt(x, y) != Panel::InstrumentEditor) return std::nullopt;
  const int line = y / kGlyphHeight - kEnvelopeFirstLine;
  if (line < 0) return std::nullopt;  // the title
  EnvelopePoint point;
  point.kind = std::min(line / 2, kEnvelopeKinds - 1);
  for (int shown = 0; shown < kVisibleSteps; ++shown) {
    const int left = envelopeStepRect(point.kind, shown).x;
    if (x >= left && x < left + kStepColumns * kGlyphWidth) point.shown = shown;
  }
  return point;
}

}  // namespace qc
