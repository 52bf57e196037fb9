#include <gtest/gtest.h>

#include "app/cell_text.h"
#include "app/frame_pacing.h"
#include "app/instrument_view.h"
#include "app/screen_layout.h"

namespace {

TEST(PatternScroll, KeepsTheCursorOnLine18AwayFromTheEnds) {
  EXPECT_EQ(firstVisibleRow(0), 0);
  EXPECT_EQ(firstVisibleRow(17), 0);
  EXPECT_EQ(firstVisibleRow(18), 1);
  EXPECT_EQ(firstVisibleRow(46), 29);
  EXPECT_EQ(firstVisibleRow(47), 29);
  EXPECT_EQ(firstVisibleRow(63), 29);
}

TEST(OrderScroll, ScrollsOnlyLongListsAroundTheCursor) {
  for (int cursor = 0; cursor < 15; ++cursor) EXPECT_EQ(firstVisibleOrder(15, cursor), 0);
  EXPECT_EQ(firstVisibleOrder(20, 7), 0);
  EXPECT_EQ(firstVisibleOrder(20, 8), 1);
  EXPECT_EQ(firstVisibleOrder(20, 12), 5);
  EXPECT_EQ(firstVisibleOrder(20, 13), 5);
  EXPECT_EQ(firstVisibleOrder(20, 19), 5);
  EXPECT_EQ(firstVisibleOrder(64, 40), 33);
}

TEST(EnvelopeScroll, ShowsSixStepsAroundTheCursor) {
  EXPECT_EQ(firstVisibleStep(10, 9), 4);
  EXPECT_EQ(firstVisibleStep(10, 5), 2);
  EXPECT_EQ(firstVisibleStep(10, 3), 0);
  EXPECT_EQ(firstVisibleStep(6, 5), 0);
  EXPECT_EQ(firstVisibleStep(-1, 40), 0);  // no end marker: no scrolling
}

TEST(BlinkLevel, PulsesBetween127And255Every500Ms) {
  EXPECT_EQ(blinkLevel(0), 191);
  EXPECT_EQ(blinkLevel(500), 191);
  EXPECT_EQ(blinkLevel(125), 254);  // 3.1415, not pi: sin stays just under 1
  EXPECT_EQ(blinkLevel(250), 191);
  EXPECT_EQ(blinkLevel(375), 127);
  for (uint32_t t = 0; t < 1000; ++t) {
    EXPECT_GE(blinkLevel(t), 127);
    EXPECT_LE(blinkLevel(t), 255);
  }
}

TEST(FramePacing, AddsAMillisecondWhenDrawingFasterThan25PerSecond) {
  FramePacing pacing;
  for (uint32_t t = 30; t <= 990; t += 30) paceFrame(pacing, t);  // 33 frames
  EXPECT_EQ(pacing.delayMs, 25);
  EXPECT_EQ(paceFrame(pacing, 1020), 26);  // the 34th frame closes the window
  EXPECT_EQ(pacing.frames, 0);
  EXPECT_EQ(pacing.windowStart, 1020u);
  for (uint32_t t = 1061; t <= 2021; t += 40) paceFrame(pacing, t);  // exactly 25 frames: too few
  EXPECT_EQ(pacing.delayMs, 25);
}

TEST(FramePacing, ASlowMachineRunsTheDelayDownToZeroAndStays) {
  FramePacing pacing;
  uint32_t t = 0;
  for (int second = 0; second < 40; ++second)
    for (int frame = 0; frame < 20; ++frame) paceFrame(pacing, t += 51);  // 20 frames in 1020 ms
  EXPECT_EQ(pacing.delayMs, 0);
}

TEST(FramePacing, ExactlyOneSecondDoesNotCloseTheWindow) {
  FramePacing pacing;
  for (int i = 0; i < 30; ++i) paceFrame(pacing, 10);
  EXPECT_EQ(paceFrame(pacing, 1000), 25);
  EXPECT_EQ(paceFrame(pacing, 1001), 26);
}

TEST(FramePacing, SurvivesTickWrapAround) {
  FramePacing pacing;
  pacing.windowStart = 0xFFFFFF00u;
  for (int i = 0; i < 30; ++i) paceFrame(pacing, 0xFFFFFF10u);
  EXPECT_EQ(paceFrame(pacing, 0x00000100u), 25);  // 512 ms later, across the wrap
  EXPECT_EQ(paceFrame(pacing, 0x00000300u), 26);
}

Cell makeCell(int note, int instrument, int effect, int param) {
  Cell c;
  c.note = uint8_t(note);
  c.setInstrument(instrument);
  c.setEffect(effect);
  c.param = uint8_t(param);
  return c;
}

const std::string kDot(1, char(0xFA));
const std::string kBar(1, char(0xB3));

TEST(FormatCell, EmptyCellShowsDotsInEveryField) {
  const CellText t = formatCell(Cell{});
  EXPECT_EQ(t.note, kDot + kDot + kDot);
  EXPECT_EQ(t.instrument, kDot);
  EXPECT_EQ(t.effect, kDot);
  EXPECT_EQ(t.param, kDot + kDot + kBar);
}

TEST(FormatCell, NotesNameTheirPitchAndOctave) {
  EXPECT_EQ(formatCell(makeCell(1, 0, 0, 0)).note, "C-0");
  EXPECT_EQ(formatCell(makeCell(50, 0, 0, 0)).note, "C#4");
  EXPECT_EQ(formatCell(makeCell(120, 0, 0, 0)).note, "B-9");
  EXPECT_EQ(formatCell(makeCell(255, 0, 0, 0)).note, "OFF");
}

TEST(FormatCell, ParameterDigitsAppearInTypedOrder) {
  const CellText t = formatCell(makeCell(0, 0xB, 0, 0x21));
  EXPECT_EQ(t.instrument, "B");
  EXPECT_EQ(t.effect, "0");
  EXPECT_EQ(t.param, "12" + kBar);
  const CellText u = formatCell(makeCell(0, 0, 0xF, 0));
  EXPECT_EQ(u.effect, "F");
  EXPECT_EQ(u.param, "00" + kBar);
}

TEST(FormatCell, SampleTrackShowsTheSlotInHex) {
  EXPECT_EQ(formatSampleCell(makeCell(0, 0, 0, 0)), kDot + kDot + kDot);
  EXPECT_EQ(formatSampleCell(makeCell(0x1A, 0, 0, 0)), "x1A");
  EXPECT_EQ(formatSampleCell(makeCell(0xFF, 0, 0, 0)), "xFF");
}

Envelope tenValues() {
  Envelope e;
  setEnvelope(e, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  return e;
}

TEST(EnvelopeView, CursorAtTheEndShowsTheLastSixWithDotsInFront) {
  const EnvelopeView v = envelopeView(tenValues(), kVolumeEnvelope, 9);
  EXPECT_EQ(v.first, 4);
  EXPECT_EQ(v.steps, "4    5    6    7    8    9    ");
  EXPECT_EQ(v.values, "... 4    5    6    7    8    9    ");
}

TEST(EnvelopeView, CursorInTheMiddleEndsInDots) {
  const EnvelopeView v = envelopeView(tenValues(), kDutyEnvelope, 5);
  EXPECT_EQ(v.first, 2);
  EXPECT_EQ(v.values, "... 3    4    5    6    7    8   ...");  // duty shows value + 1
}

TEST(EnvelopeView, NoteValuesAreOffsetsOrFixedNotes) {
  Envelope e;
  setEnvelope(e, {60, 133, 64});
  const EnvelopeView v = envelopeView(e, kNoteEnvelope, 0);
  EXPECT_EQ(v.values, "    -4   5!   0    ");
}

TEST(EnvelopeView, EmptyAndUnterminatedEnvelopes) {
  Envelope empty;
  setEnvelope(empty, {});
  EXPECT_EQ(envelopeView(empty, kVolumeEnvelope, 0).steps, "");
  EXPECT_EQ(envelopeView(empty, kVolumeEnvelope, 0).values, "    ");
  Envelope open;
  for (int& v : open.values) v = 3;
  EXPECT_EQ(envelopeView(open, kVolumeEnvelope, 50).steps, "");
  EXPECT_EQ(envelopeView(open, kVolumeEnvelope, 50).values, "   ...");
}

}  // namespace
