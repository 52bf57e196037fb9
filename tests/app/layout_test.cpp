#include <gtest/gtest.h>

#include "app/cell_text.h"
#include "app/frame_pacing.h"
#include "app/instrument_view.h"
#include "app/screen_layout.h"

namespace qc {

namespace {

TEST(ScreenLayout, ListsScrollToKeepTheCursorInViewAwayFromTheEnds) {
  // Pattern rows: the cursor sits on line 18 away from the ends.
  for (const auto& [cursor, first] : {std::pair{17, 0}, {18, 1}, {46, 29}, {47, 29}, {63, 29}})
    EXPECT_EQ(firstVisibleRow(cursor), first) << "row " << cursor;
  // Orders: only lists longer than 15 scroll.
  for (const auto& [count, cursor, first] :
       {std::tuple{10, 9, 0}, {20, 7, 0}, {20, 8, 1}, {20, 13, 5}, {20, 19, 5}, {64, 40, 33}})
    EXPECT_EQ(firstVisibleOrder(count, cursor), first) << "orders " << count << ", cursor " << cursor;
  // Envelope steps: six around the cursor; no end marker, no scrolling.
  for (const auto& [length, cursor, first] : {std::tuple{10, 9, 4}, {10, 5, 2}, {10, 3, 0}, {6, 5, 0}, {-1, 40, 0}})
    EXPECT_EQ(firstVisibleStep(length, cursor), first) << "length " << length << ", cursor " << cursor;
}

TEST(BlinkLevel, PulsesBetween127And255Every500Ms) {
  // 3.1415, not pi: at 125 ms sin stays just under 1.
  for (const auto& [t, level] : {std::pair{0u, 191}, {500u, 191}, {125u, 254}, {250u, 191}, {375u, 127}})
    EXPECT_EQ(blinkLevel(t), level) << t;
}

TEST(FramePacing, ADelayUpWhenDrawingFasterThan25PerSecondAndDownToZeroWhenSlower) {
  FramePacing pacing;
  for (uint32_t t = 30; t <= 990; t += 30) paceFrame(pacing, t);  // 33 frames
  EXPECT_EQ(pacing.delayMs, 25);
  EXPECT_EQ(paceFrame(pacing, 1020), 26);  // the 34th frame closes the window
  for (uint32_t t = 1061; t <= 2021; t += 40) paceFrame(pacing, t);  // exactly 25 frames: too few
  EXPECT_EQ(pacing.delayMs, 25);
  for (uint32_t t = 2021; t < 2021 + 40 * 1020; t += 51) paceFrame(pacing, t);  // 20 frames a second
  EXPECT_EQ(pacing.delayMs, 0);
}

TEST(FramePacing, WindowClosesOnlyAfterMoreThanASecondEvenAcrossTheTickWrap) {
  for (const uint32_t start : {0u, 0xFFFFFF00u}) {
    SCOPED_TRACE(start);
    FramePacing pacing;
    pacing.windowStart = start;
    for (int i = 0; i < 30; ++i) paceFrame(pacing, start + 10);
    EXPECT_EQ(paceFrame(pacing, start + 1000), 25);
    EXPECT_EQ(paceFrame(pacing, start + 1001), 26);
  }
}

const std::string kDot(1, char(0xFA));
const std::string kBar(1, char(0xB3));

TEST(FormatCell, DotsForEmptyFieldsNotesSampleSlotsAndParameterDigitsInTypedOrder) {
  const CellText empty = formatCell(Cell{});
  EXPECT_EQ(empty.note + empty.instrument + empty.effect + empty.param, std::string(7, kDot[0]) + kBar);
  EXPECT_EQ(formatSampleCell(Cell{}), kDot + kDot + kDot);
  for (const auto& [note, text] : {std::pair{1, "C-0"}, {120, "B-9"}, {255, "OFF"}})
    EXPECT_EQ(formatCell(Cell{uint8_t(note)}).note, text);
  EXPECT_EQ(formatSampleCell(Cell{0xFF}), "xFF");
  const CellText t = formatCell(Cell{0, 0x0B, 0x21});  // instrument B, effect 0
  EXPECT_EQ(t.instrument, "B");
  EXPECT_EQ(t.effect, "0");
  EXPECT_EQ(t.param, "12" + kBar);
  const CellText u = formatCell(Cell{0, 0xF0, 0});  // effect F
  EXPECT_EQ(u.effect, "F");
  EXPECT_EQ(u.param, "00" + kBar);
}

Envelope envelopeOf(std::initializer_list<int32_t> values) {
  Envelope e;
  setEnvelope(e, values);
  return e;
}

TEST(EnvelopeView, ShowsSixStepsWithDotsWhereTheEnvelopeGoesOn) {
  const Envelope ten = envelopeOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  const EnvelopeView end = envelopeView(ten, kVolumeEnvelope, 9);
  EXPECT_EQ(end.first, 4);
  EXPECT_EQ(end.steps, "4    5    6    7    8    9    ");
  EXPECT_EQ(end.values, "... 4    5    6    7    8    9    ");
  const EnvelopeView middle = envelopeView(ten, kDutyEnvelope, 5);
  EXPECT_EQ(middle.first, 2);
  EXPECT_EQ(middle.values, "... 3    4    5    6    7    8   ...");  // duty shows value + 1
  EXPECT_EQ(envelopeView(envelopeOf({60, 133, 64}), kNoteEnvelope, 0).values, "    -4   5!   0    ");
  const EnvelopeView empty = envelopeView(envelopeOf({}), kVolumeEnvelope, 0);
  EXPECT_EQ(empty.steps + "|" + empty.values, "|    ");
  Envelope open;
  for (int& v : open.values) v = 3;
  const EnvelopeView unterminated = envelopeView(open, kVolumeEnvelope, 50);
  EXPECT_EQ(unterminated.steps + "|" + unterminated.values, "|   ...");
}

}  // namespace

}  // namespace qc
