#include "app/pattern_view.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/cell_text.h"
#include "app/font.h"
#include "app/palette.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "editor/live_player.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kRepeatBarWidth = 16;

int column(int c) { return c * kGlyphWidth; }
int line(int l) { return l * kGlyphHeight; }

// 47 columns of spaces with bars at 2, 12, 22, 32, 42 and 46.
const std::string& separatorLine() {
  static const std::string text = [] {
    std::string s(47, ' ');
    for (int c : {2, 12, 22, 32, 42, 46}) s[c] = kBarGlyph;
    return s;
  }();
  return text;
}

void drawHeadings(int blink) {
  for (int i = 0; i < kChannels; ++i) {
    const int x = headingRect(i).x;
    drawText(kChannelNames[i], x + 1, 1, kShadow);
    const uint8_t level = i == app.editor.cursorChannel ? uint8_t(blink) : 255;
    Rgb colour{level, level, level};
    if (!(app.editor.channelMask & (1u << i))) colour.g = colour.b = 0;  // muted: red
    drawText(kChannelNames[i], x, 0, colour);
  }
  drawText(separatorLine(), 0, 0, kSeparatorGrey);
}

void drawRow(const Pattern& pattern, int row, int y) {
  const EditorState& ed = app.editor;
  const std::optional<PlayingRow> playing = playingRow();
  if (row % 4 == 0) drawBox(0, y, kPatternWidth, kGlyphHeight, kBeatRowBox, kBeatRowAlpha);
  if (playing && row == playing->row && ed.orderCursor == playing->order)
    drawBox(0, y, kPatternWidth, kGlyphHeight, kPlayRowBox, kPlayRowAlpha);
  if (row == ed.cursorRow) drawBox(0, y, kPatternWidth, kGlyphHeight, kCursorRowBox, kCursorRowAlpha);

  char number[12];
  std::snprintf(number, sizeof number, "%02d", row);
  drawText(number, 0, y, row % 4 == 0 ? kWhite : kRowNumberGrey);

  for (int c = 0; c < kToneChannels; ++c) {
    const CellText text = formatCell(pattern.cells[c][row]);
    const auto x = [&](int field) { return patternFieldRect(c, field, 0).x; };
    drawText(text.note, x(0), y, kWhite);
    drawText(text.instrument, x(1), y, kGreen);
    drawText(text.effect, x(2), y, kBlue);
    drawText(text.param, x(3), y, kLightBlue);
  }
  drawText(formatSampleCell(pattern.cells[kPcmTrack][row]), patternFieldRect(kPcmTrack, 0, 0).x, y, kWhite);
}

// Rows lo..hi clamped to the visible lines; false when none of them is visible.
bool visibleSpan(int a, int b, int first, int& top, int& height) {
  const int lo = std::min(a, b);
  const int hi = std::max(a, b);
  const int last = first + kVisibleRows - 1;
  if (hi < first || lo > last) return false;
  top = line(std::max(lo, first) - first + 1);
  height = line(std::min(hi, last) - std::max(lo, first) + 1);
  return true;
}

void drawSelection(int first) {
  const EditorState& ed = app.editor;
  int top, height;
  if (!visibleSpan(ed.selectionStartRow, ed.selectionEndRow, first, top, height)) return;
  const int minTrack = std::min(ed.selectionStartChannel, ed.selectionEndChannel);
  const int maxTrack = std::max(ed.selectionStartChannel, ed.selectionEndChannel);
  const int left = column(kTrackColumns * minTrack + 2);
  // The PCM track is five columns narrower than the tone tracks.
  const int right = column(kTrackColumns * maxTrack + 13) - (maxTrack == kPcmTrack ? 48 : 0);
  drawBox(left, top, right - left, height, kSelectionBox, kBlockAlpha);
}

void drawRepeatBar(int first) {
  int top, height;
  if (!visibleSpan(app.editor.repeatStartRow, app.editor.repeatEndRow, first, top, height)) return;
  drawBox(0, top, kRepeatBarWidth, height, kRepeatBox, kBlockAlpha);
}

}  // namespace

void drawPatternView(int blink) {
  drawHeadings(blink);
  const int first = firstVisibleRow(app.editor.cursorRow);
  const int order = std::clamp(app.editor.orderCursor, 0, kMaxOrders - 1);
  const Pattern& pattern = app.song.patterns[std::clamp(app.song.orders[order], 0, kPatterns - 1)];
  for (int l = 1; l <= kVisibleRows; ++l) drawRow(pattern, first + l - 1, line(l));
  drawSelection(first);
  drawRepeatBar(first);
  for (int l = 1; l <= kVisibleRows; ++l) drawText(separatorLine(), 0, line(l), kSeparatorGrey);
}

}  // namespace qc
