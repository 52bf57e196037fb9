// Where things sit on the 92 by 37 character grid, recomputed every frame.
#pragma once

#include <cstdint>

namespace qc {

inline constexpr int kVisibleRows = 35;     // pattern rows on lines 1..35
inline constexpr int kCursorLine = 18;      // where the cursor row sits away from the ends
inline constexpr int kVisibleOrders = 15;
inline constexpr int kVisibleSteps = 6;     // envelope values shown per kind
inline constexpr int kTrackColumns = 10;    // character columns per pattern track

inline constexpr int kOrderListX = 680;     // column 85
inline constexpr int kOrderFirstLine = 13;
inline constexpr int kInstrumentX = 384;    // column 48
inline constexpr int kInstrumentFirstLine = 12;
inline constexpr int kNameColumn = 52;
inline constexpr int kStatusY = 576;        // line 36

inline constexpr int kPatternWidth = 376;   // columns 0..46
inline constexpr int kHeadingLine = 0;
inline constexpr int kEnvelopeFirstLine = 30;  // label line of Volume; values on the line below
inline constexpr int kStepColumns = 5;      // envelope columns per step

// A box in pixels.
struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// The cursor boxes, where the drawing puts them and where a click finds them.
// `line` and `shown` count from the first line or entry on screen.
ScreenRect patternFieldRect(int track, int column, int line);
ScreenRect headingRect(int track);
ScreenRect orderEntryRect(int shown);
ScreenRect instrumentEntryRect(int slot);
ScreenRect envelopeStepRect(int kind, int shown);

// First pattern row shown on line 1.
int firstVisibleRow(int cursorRow);
// First order list position shown.
int firstVisibleOrder(int orderCount, int orderCursor);
// First envelope step shown, for an envelope of the given length (-1: no end).
int firstVisibleStep(int length, int cursor);
// 127..255 and back every 500 ms: the pulse of the focused cursor and heading.
int blinkLevel(uint32_t ticks);

}  // namespace qc
