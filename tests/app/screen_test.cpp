#include <cstring>
#include <random>
#include <string>
#include <tuple>

#include "app/cell_text.h"
#include "app/draw_screen.h"
#include "app/font.h"
#include "app/frame_pacing.h"
#include "app/instrument_view.h"
#include "app/screen_layout.h"
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

TEST(FormatCell, DotsOnlyForEmptyFieldsAndNotesByNameAndOctave) {
  const CellText empty = formatCell(Cell{});
  EXPECT_EQ(empty.note + empty.instrument + empty.effect + empty.param, std::string(7, kDot[0]) + kBar);
  EXPECT_EQ(formatSampleCell(Cell{}), kDot + kDot + kDot);
  for (const auto& [note, text] : {std::pair{1, "C-0"}, {120, "B-9"}, {255, "OFF"}})
    EXPECT_EQ(formatCell(Cell{uint8_t(note)}).note, text);
  // The instrument's hex digit and the parameter's typed order are the screen test's.
  EXPECT_EQ(formatCell(Cell{0, 0x0B, 0x21}).effect, "0");  // effect 0 with a parameter
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

TEST_F(ScreenTest, FontHasTheRomShapesTheEditorReliesOn) {
  const uint8_t shapes[][8] = {{0x30, 0x78, 0xCC, 0xCC, 0xFC, 0xCC, 0xCC, 0x00}, {0, 0, 0, 0, 0x18, 0, 0, 0},
                               {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}, {}, {}};
  const uint8_t glyphs[] = {'A', uint8_t(kDotGlyph), 0xB3, ' ', 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(std::memcmp(&kFont[glyphs[i] * 8], shapes[i], 8), 0) << int(glyphs[i]);
}

TEST_F(ScreenTest, LinesAreClippedAndTakeEitherOrder) {
  drawVLine(735, 600, -10, kGrey);  // first, so that the bottom line is seen to reach it
  drawVLine(736, 0, 10, kWhite);
  drawHLine(10, 20, 5, kWhite);
  drawHLine(-1, 0, 100, kWhite);
  drawHLine(592, 0, 100, kWhite);
  drawHLine(591, -50, 9999, kWhite);
  for (const auto& [x, y, colour] : {std::tuple{5, 10, kWhite}, {20, 10, kWhite}, {21, 10, kBlack}, {0, 591, kWhite},
                                     {735, 591, kWhite}, {735, 0, kGrey}})
    EXPECT_EQ(pixel(x, y), colour) << x << ", " << y;
}

// The blits the drawing replaces: per-call 24-bit surfaces with a black colour
// key (text only) and per-surface alpha.
void referenceBlit(SDL_Surface* target, SDL_Surface* s, int x, int y) {
  SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
  SDL_BlitSurface(s, nullptr, target, &at);
  SDL_FreeSurface(s);
}

void referenceText(SDL_Surface* target, std::string text, int x, int y, Rgb c, int alpha) {
  text = text.c_str();  // a C string: up to its first NUL
  if (text.empty()) return;
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8 * int(text.size()), 16, 24, 0, 0, 0, 0);
  SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0);
  const Uint32 ink = SDL_MapRGB(s->format, c.r, c.g, c.b);
  SDL_LockSurface(s);
  for (size_t i = 0; i < text.size(); ++i)
    for (int r = 0; r < 16; ++r)
      for (int b = 0; b < 8; ++b) {
        const Uint32 v = (kFont[uint8_t(text[i]) * 8 + r / 2] & (0x80 >> b)) ? ink : 0;
        Uint8* p = static_cast<Uint8*>(s->pixels) + r * s->pitch + (8 * i + b) * 3;
        p[0] = Uint8(v), p[1] = Uint8(v >> 8), p[2] = Uint8(v >> 16);
      }
  SDL_UnlockSurface(s);
  if (alpha != 255) SDL_SetAlpha(s, SDL_SRCALPHA, Uint8(alpha));
  referenceBlit(target, s, x, y);
}

void referenceBox(SDL_Surface* target, int x, int y, int w, int h, Rgb c, int alpha) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0, 0, 0, 0);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, c.r, c.g, c.b));
  SDL_SetAlpha(s, SDL_SRCALPHA, Uint8(alpha));
  referenceBlit(target, s, x, y);
}

Uint32& rawPixel(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}

// Random boxes and texts (any bytes, NULs, black and near-black ink, any
// alpha, cut at every edge) over a varied background, against the blits.
TEST_F(ScreenTest, DirectDrawingMatchesSurfaceBlitsPixelForPixel) {
  SDL_Surface* screen = surfaces.screen;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      rawPixel(screen, x, y) = SDL_MapRGB(screen->format, Uint8(x), Uint8(y), Uint8(x + y));
  const SDL_PixelFormat* f = screen->format;
  SDL_Surface* reference =
      SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenWidth, kScreenHeight, 32, f->Rmask, f->Gmask, f->Bmask, 0);
  SDL_BlitSurface(screen, nullptr, reference, nullptr);

  std::mt19937 random(5);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  for (int i = 0; i < 300; ++i) {
    const Rgb c{Uint8(pick(0, 255)), Uint8(pick(0, 255)), Uint8(pick(0, 1) ? pick(0, 255) : 0)};
    const int alphas[] = {0, 1, 75, 110, 128, 150, 200, 254, 255, pick(0, 255)};
    const int alpha = alphas[pick(0, 9)];
    if (i % 3 == 0) {
      const int w = pick(1, 300), h = pick(1, 100);
      const int x = pick(-100, 735), y = pick(-50, 591);
      drawBox(x, y, w, h, c, alpha);
      referenceBox(reference, x, y, w, h, c, alpha);
    } else {
      std::string text;
      for (int n = pick(0, 20); n > 0; --n) text += char(pick(0, 255));
      const int x = pick(-100, 735), y = pick(-20, 591);
      const Rgb colour = i % 10 == 1 ? kBlack : i % 10 == 2 ? Rgb{1, 0, 0} : c;  // near black still shows
      drawText(text, x, y, colour, alpha);
      referenceText(reference, text, x, y, colour, alpha);
    }
  }
  int differing = 0;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      differing += (rawPixel(screen, x, y) & 0xFFFFFF) != (rawPixel(reference, x, y) & 0xFFFFFF);
  SDL_FreeSurface(reference);
  EXPECT_EQ(differing, 0);
}

// Which rows show for each cursor is the layout's test; this one the drawing's use of it.
TEST_F(ScreenTest, PatternViewFollowsTheCursorRow) {
  app.editor.selectionStartRow = app.editor.selectionEndRow = -100;  // keep the row numbers untinted
  app.editor.repeatStartRow = app.editor.repeatEndRow = -100;
  app.editor.cursorRow = 46;
  drawScreen();
  EXPECT_TRUE(inkIs("29", 0, 16, kGrey));
  EXPECT_TRUE(inkIs("32", 0, 16 * 4, kWhite));  // every fourth row
  EXPECT_TRUE(inkIs("63", 0, 16 * 35, kGrey));
}

TEST_F(ScreenTest, CellsShowTheirTextsInTheirColumnsAndColours) {
  app.song.patterns[0].cells[1][2] = Cell{50, 0x4B, 0x21};  // instrument B, effect 4
  app.song.patterns[0].cells[4][2].note = 0x1A;
  drawScreen();
  EXPECT_TRUE(inkIs("C#4", 8 * 13, 48, kWhite));
  EXPECT_TRUE(inkIs("B", 8 * 17, 48, kGreen));
  EXPECT_TRUE(inkIs("4", 8 * 19, 48, Rgb{44, 110, 213}));
  EXPECT_TRUE(inkIs("12", 8 * 20, 48, kLightBlue));
  EXPECT_TRUE(inkIs("x1A", 8 * 43, 48, kWhite));
}

TEST_F(ScreenTest, MutedTrackHeadingIsRed) {
  app.editor.channelMask = 31 & ~(1u << 2);
  drawScreen();
  EXPECT_TRUE(inkIs("Triangle", 8 * 23, 0, kRed));
  EXPECT_TRUE(inkIs("Noise", 8 * 33, 0, kWhite));
  fakeTicks = kFocusedTick;
  app.editor.cursorChannel = 2;
  drawScreen();
  EXPECT_TRUE(inkIs("Triangle", 8 * 23, 0, kPulseRed));
}

TEST_F(ScreenTest, FreshProgramShowsSelectionAndRepeatBoxes) {
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

TEST_F(ScreenTest, SelectionEndingOnThePcmTrackStopsAtTheViewEdge) {
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

TEST_F(ScreenTest, FocusedCursorPulsesRedOthersAreBlue) {
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

TEST_F(ScreenTest, OrderListScrollsWithMarkers) {
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

TEST_F(ScreenTest, EnvelopeEditorShowsStepsValuesAndLoopMarker) {
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

TEST_F(ScreenTest, InstrumentListAndNameCursor) {
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

TEST_F(ScreenTest, StatusLineFadesByItsAge) {
  fakeTicks = 50000;
  setStatus("Ready.");
  fakeTicks += 3600;  // the alpha by age is the status line's own test
  drawScreen();
  EXPECT_EQ(pixel(0, 576), blend(kGreen, kBlack, 155));  // "R" has ink in its top-left pixel
}

TEST_F(ScreenTest, EditModeFrameAndVideoStandard) {
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

TEST_F(ScreenTest, PlayingRowIsHighlightedOnlyInItsOrder) {
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
