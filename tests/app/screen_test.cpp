#include <string>

#include "app/draw_screen.h"
#include "editor/status_line.h"
#include "screen_fixture.h"

namespace qc {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{200, 200, 200};
constexpr Rgb kGreen{163, 218, 169};
constexpr Rgb kLightBlue{150, 171, 213};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kPulseRed{254, 0, 0};  // at kFocusedTick
constexpr int kFocusedTick = 100125;  // blinkLevel 254

using DrawScreenTest = ScreenTest;

// Which rows show for each cursor is the layout's test; this one the drawing's use of it.
TEST_F(DrawScreenTest, PatternViewFollowsTheCursorRow) {
  app.editor.selectionStartRow = app.editor.selectionEndRow = -100;  // keep the row numbers untinted
  app.editor.repeatStartRow = app.editor.repeatEndRow = -100;
  app.editor.cursorRow = 46;
  drawScreen();
  EXPECT_TRUE(inkIs("29", 0, 16, kGrey));
  EXPECT_TRUE(inkIs("32", 0, 16 * 4, kWhite));  // every fourth row
  EXPECT_TRUE(inkIs("63", 0, 16 * 35, kGrey));
}

TEST_F(DrawScreenTest, CellsShowTheirTextsInTheirColumnsAndColours) {
  app.song.patterns[0].cells[1][2] = Cell{50, 0x4B, 0x21};  // instrument B, effect 4
  app.song.patterns[0].cells[4][2].note = 0x1A;
  drawScreen();
  EXPECT_TRUE(inkIs("C#4", 8 * 13, 48, kWhite));
  EXPECT_TRUE(inkIs("B", 8 * 17, 48, kGreen));
  EXPECT_TRUE(inkIs("4", 8 * 19, 48, Rgb{44, 110, 213}));
  EXPECT_TRUE(inkIs("12", 8 * 20, 48, kLightBlue));
  EXPECT_TRUE(inkIs("x1A", 8 * 43, 48, kWhite));
}

TEST_F(DrawScreenTest, MutedTrackHeadingIsRed) {
  app.editor.channelMask = 31 & ~(1u << 2);
  drawScreen();
  EXPECT_TRUE(inkIs("Triangle", 8 * 23, 0, kRed));
  EXPECT_TRUE(inkIs("Noise", 8 * 33, 0, kWhite));
  fakeTicks = kFocusedTick;
  app.editor.cursorChannel = 2;
  drawScreen();
  EXPECT_TRUE(inkIs("Triangle", 8 * 23, 0, kPulseRed));
}

TEST_F(DrawScreenTest, FreshProgramShowsSelectionAndRepeatBoxes) {
  drawScreen();
  // Row 0 on line 1: beat-row box, cursor-row box, then the selection over track 0.
  const Rgb row0 = blend(Rgb{17, 17, 17}, blend(Rgb{85, 85, 85}, kBlack, 75), 150);
  const Rgb selected = blend(Rgb{96, 0, 96}, row0, 110), repeat = blend(Rgb{234, 198, 0}, kBlack, 110);
  EXPECT_EQ(pixel(17, 16), selected);  // from column 2
  EXPECT_EQ(pixel(97, 16), selected);
  EXPECT_EQ(pixel(104, 16), row0);  // to the end of column 12
  EXPECT_EQ(pixel(17, 32), kBlack);
  EXPECT_EQ(pixel(8, 32), repeat);  // the bar over the row numbers
  EXPECT_EQ(pixel(8, 16), blend(Rgb{234, 198, 0}, row0, 110));
  EXPECT_EQ(pixel(0, 16 * 35 + 15), repeat);  // rows 0..63: down to the last visible line
  EXPECT_EQ(pixel(16, 16 * 20), kBlack);
}

TEST_F(DrawScreenTest, SelectionEndingOnThePcmTrackStopsAtTheViewEdge) {
  app.editor.selectionStartChannel = 3;
  app.editor.selectionEndChannel = 4;
  app.editor.selectionStartRow = 5;
  app.editor.selectionEndRow = 9;
  drawScreen();
  const Rgb box = blend(Rgb{96, 0, 96}, kBlack, 110);
  EXPECT_EQ(pixel(8 * 32, 16 * 7 + 1), box);
  EXPECT_EQ(pixel(375, 16 * 7 + 1), box);
  EXPECT_EQ(pixel(376, 16 * 7 + 1), kBlack);
  EXPECT_EQ(pixel(8 * 32, 16 * 5 + 1), blend(Rgb{85, 85, 85}, kBlack, 75));  // row 4: not selected
  EXPECT_EQ(pixel(8 * 32, 16 * 6 + 1), box);
}

TEST_F(DrawScreenTest, FocusedCursorPulsesRedOthersAreBlue) {
  fakeTicks = kFocusedTick;
  app.editor.cursorRow = 2;
  app.editor.selectionStartRow = app.editor.selectionEndRow = 40;
  app.editor.focus = kFocusOrderList;
  drawScreen();
  const Rgb idle = blend(Rgb{0, 0, 160}, kBlack, 128), cursorRow = blend(Rgb{17, 17, 17}, kBlack, 150);
  EXPECT_EQ(pixel(24, 16 * 3), blend(Rgb{0, 0, 160}, cursorRow, 128));  // pattern
  EXPECT_EQ(pixel(680, 16 * 13), blend(kPulseRed, kBlack, 128));       // order list
  EXPECT_EQ(pixel(680 + 47, 16 * 13), blend(kPulseRed, kBlack, 128));  // as wide as "01: 00"
  EXPECT_EQ(pixel(384, 16 * 13), idle);                                 // instrument 1 in the list
  EXPECT_EQ(pixel(8 * 58, 16 * 31), idle);                              // volume step 0
  app.editor.focus = kFocusPattern;
  drawScreen();
  EXPECT_EQ(pixel(24, 16 * 3), blend(kPulseRed, cursorRow, 128));
  EXPECT_EQ(pixel(680, 16 * 13), idle);
}

TEST_F(DrawScreenTest, OrderListScrollsWithMarkers) {
  app.song.orderCount = 20;
  for (int p = 0; p < 20; ++p) app.song.orders[p] = p % 7;
  app.editor.orderCursor = 12;
  drawScreen();
  EXPECT_TRUE(inkIs("Order", 680, 176, kGreen));
  EXPECT_TRUE(inkIs("   ...", 680, 192, kLightBlue));
  EXPECT_TRUE(inkIs("06: 05", 680, 208, kWhite));
  EXPECT_TRUE(inkIs("20: 05", 680, 16 * 27, kWhite));
  EXPECT_FALSE(inkIs("   ...", 680, 448, kLightBlue));
  app.song.orderCount = 15;
  drawScreen();
  EXPECT_FALSE(inkIs("   ...", 680, 192, kLightBlue));
  EXPECT_TRUE(inkIs("01: 00", 680, 208, kWhite));
  EXPECT_FALSE(inkIs("   ...", 680, 448, kLightBlue));
}

TEST_F(DrawScreenTest, EnvelopeEditorShowsStepsValuesAndLoopMarker) {
  setEnvelope(app.song.envelopes[1][kVolumeEnvelope], {15, 14, 13, 12, 11, 10, 9, 8, 7, 6}, 6);
  app.editor.envelopeCursor[kVolumeEnvelope] = 5;
  drawScreen();
  EXPECT_TRUE(inkIs("Instrument Editor", 384, 464, kGreen));
  EXPECT_TRUE(inkIs("2    3    4    5    6    7    ", 472, 480, kLightBlue));
  EXPECT_TRUE(inkIs("... 13   12   11   10   9    8   ...", 440, 496, kWhite));
  const int loopX = 8 * (5 * (6 - 2) + 59) - 3;
  EXPECT_EQ(pixel(loopX, 480), kWhite);
  EXPECT_EQ(pixel(loopX, 509), kWhite);
  EXPECT_EQ(pixel(loopX, 510), kBlack);
  app.editor.currentInstrument = 0;
  drawScreen();
  EXPECT_TRUE(inkIs("(No instrument selected)", 384, 464, kLightBlue));
  EXPECT_EQ(pixel(loopX, 480), kBlack);
}

TEST_F(DrawScreenTest, InstrumentListAndNameCursor) {
  app.song.instrumentNames[3] = "Lead";
  app.editor.currentInstrument = 3;
  app.editor.naming = true;
  app.editor.focus = kFocusInstrumentList;
  app.editor.nameCursor = 2;
  fakeTicks = 400 * 1000 + 10;
  drawScreen();
  EXPECT_TRUE(inkIs("Instruments", 384, 176, kGreen));
  EXPECT_TRUE(inkIs("    (no instrument)", 384, 192, kLightBlue));
  EXPECT_TRUE(inkIs(" 3: Lead", 384, 16 * 15, kWhite));
  EXPECT_TRUE(inkIs(" F: ", 384, 16 * 27, kWhite));
  EXPECT_EQ(pixel(8 * 54, 16 * 16 - 2), kWhite);
  EXPECT_EQ(pixel(8 * 54 + 8, 16 * 16 - 2), kWhite);
  fakeTicks += 200;  // the blink's dark half
  drawScreen();
  EXPECT_NE(pixel(8 * 54 + 8, 16 * 16 - 2), kWhite);
}

TEST_F(DrawScreenTest, StatusLineFadesByItsAge) {
  fakeTicks = 50000;
  setStatus("Ready.");
  fakeTicks += 3600;  // the alpha by age is the status line's own test
  drawScreen();
  EXPECT_EQ(pixel(0, 576), blend(kGreen, kBlack, 155));  // "R" has ink in its top-left pixel
}

TEST_F(DrawScreenTest, EditModeFrameAndVideoStandard) {
  drawScreen();
  EXPECT_TRUE(inkIs(" PAL", 685, 100, kGreen));
  EXPECT_EQ(pixel(735, 300), kBlack);
  app.editor.editMode = true;
  app.song.ntsc = true;
  drawScreen();
  EXPECT_TRUE(inkIs("NTSC", 685, 100, kGreen));
  for (const auto& [x, y] : {std::pair{0, 0}, {735, 300}, {400, 591}, {0, 591}, {300, 0}})
    EXPECT_EQ(pixel(x, y), kRed) << x << "," << y;
}

TEST_F(DrawScreenTest, PlayingRowIsHighlightedOnlyInItsOrder) {
  app.song.orderCount = 2;
  app.player.playing = true;
  app.player.playOrder = 0;
  app.player.playRow = 6;
  app.editor.selectionStartRow = app.editor.selectionEndRow = 40;
  drawScreen();
  EXPECT_EQ(pixel(300, 16 * 7), blend(Rgb{211, 27, 22}, kBlack, 200));
  app.editor.orderCursor = 1;
  drawScreen();
  EXPECT_EQ(pixel(300, 16 * 7), kBlack);
}

}  // namespace

}  // namespace qc
