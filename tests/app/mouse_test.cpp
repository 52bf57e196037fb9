#include "app/mouse.h"

#include <climits>
#include <string>
#include <vector>

#include "app/draw_screen.h"
#include "app/file_chooser_view.h"
#include "app/file_dialog.h"
#include "app/file_filters.h"
#include "app/main_loop.h"
#include "app/screen_hit.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "editor/pattern_cursor.h"
#include "screen_fixture.h"
#include "song/module_file.h"
#include "tests/key_test_support.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

template <typename Hit, typename Expected>
void expectCornersHit(const ScreenRect& r, Hit hit, const Expected& expected) {
  for (const auto& [x, y] : {std::pair{r.x, r.y}, {r.x + r.width - 1, r.y}, {r.x, r.y + r.height - 1},
                             {r.x + r.width - 1, r.y + r.height - 1}}) {
    const auto found = hit(x, y);
    ASSERT_TRUE(found.has_value()) << x << ", " << y;
    EXPECT_EQ(*found, expected) << x << ", " << y;
  }
}

TEST(ClickGeometry, EveryBoxTheDrawingUsesHitsBackAtItsCorners) {
  for (int track = 0; track < kChannels; ++track) {
    expectCornersHit(headingRect(track), headingAt, track);
    for (int column = 0; column < (track == kPcmTrack ? 1 : kCursorColumns); ++column)
      for (int line = 0; line < kVisibleRows; ++line)
        expectCornersHit(patternFieldRect(track, column, line), patternFieldAt, PatternPoint{track, column, line});
  }
  for (int shown = 0; shown < kVisibleOrders; ++shown) expectCornersHit(orderEntryRect(shown), orderEntryAt, shown);
  for (int slot = 0; slot < kInstrumentSlots; ++slot)
    expectCornersHit(instrumentEntryRect(slot), instrumentEntryAt, slot);
  for (int kind = 0; kind < kEnvelopeKinds; ++kind)
    for (int shown = 0; shown < kVisibleSteps; ++shown)
      expectCornersHit(envelopeStepRect(kind, shown), envelopeAt, EnvelopePoint{kind, shown});
  for (int row = 0; row < kChooserRows; ++row) expectCornersHit(chooserEntryRect(row), chooserRowAt, row);
}

TEST(ClickGeometry, GapsBelongToTheFieldBeforeThemAndNothingLiesOutsideThePanels) {
  const auto at = [](int column, int line) { return patternFieldAt(column * kGlyphWidth, line * kGlyphHeight); };
  EXPECT_EQ(*at(0, 1), (PatternPoint{0, 0, 0}));    // row numbers: track 0
  EXPECT_EQ(*at(12, 1), (PatternPoint{1, 0, 0}));   // a separator: the track right of it
  EXPECT_EQ(*at(16, 35), (PatternPoint{1, 0, 34}));  // between note and instrument
  EXPECT_EQ(*at(46, 2), (PatternPoint{4, 0, 1}));
  EXPECT_EQ(*envelopeAt(48 * kGlyphWidth, 32 * kGlyphHeight), (EnvelopePoint{1, std::nullopt}));  // a label

  for (const auto& [x, y] : {std::pair{-1, 20}, {20, -1}, {kScreenWidth, 20}, {20, kScreenHeight}, {INT_MIN, INT_MIN},
                             {INT_MAX, INT_MAX}, {47 * kGlyphWidth, 100}, {400, 5 * kGlyphHeight}, {20, kStatusY},
                             {kOrderListX, 11 * kGlyphHeight}, {kInstrumentX, 29 * kGlyphHeight}}) {
    SCOPED_TRACE(testing::Message() << x << ", " << y);
    EXPECT_FALSE(headingAt(x, y) || patternFieldAt(x, y) || orderEntryAt(x, y) || instrumentEntryAt(x, y) ||
                 envelopeAt(x, y));
  }
  for (const auto& [x, y] : {std::pair{33, 100}, {702, 100}, {100, 5 * kGlyphHeight - 1}, {100, 27 * kGlyphHeight}})
    EXPECT_FALSE(chooserRowAt(x, y)) << x << ", " << y;
  for (const auto& [x, y] : {std::pair{-1, 20}, {kScreenWidth, 20}, {47 * kGlyphWidth, 100}, {400, 80}, {20, kStatusY}})
    EXPECT_EQ(panelAt(x, y), Panel::None) << x << ", " << y;
}

// Frames drawn with the cursor on a box and on another one two places away
// differ exactly inside the box.
class CursorBoxTest : public ScreenTest {
 protected:
  using Frame = std::vector<uint32_t>;
  static Frame drawn(bool wholeScreen = true) {
    if (wholeScreen) drawScreen();
    const auto* pixels = static_cast<const uint32_t*>(surfaces.screen->pixels);
    const int stride = surfaces.screen->pitch / 4;
    Frame frame;
    for (int y = 0; y < kScreenHeight; ++y)
      frame.insert(frame.end(), pixels + y * stride, pixels + y * stride + kScreenWidth);
    return frame;
  }
  static void expectDrawnExactly(const ScreenRect& r, const Frame& on, const Frame& off) {
    const auto same = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return true;
      return on[size_t(y * kScreenWidth + x)] == off[size_t(y * kScreenWidth + x)];
    };
    const int right = r.x + r.width - 1, bottom = r.y + r.height - 1;
    for (const auto& [x, y] : {std::pair{r.x, r.y}, {right, r.y}, {r.x, bottom}, {right, bottom}})
      EXPECT_FALSE(same(x, y)) << "inside at " << x << ", " << y;
    for (const auto& [x, y] : {std::pair{r.x - 1, r.y}, {r.x, r.y - 1}, {right + 1, r.y}, {right, r.y - 1},
                               {r.x - 1, bottom}, {r.x, bottom + 1}, {right + 1, bottom}, {right, bottom + 1}})
      EXPECT_TRUE(same(x, y)) << "outside at " << x << ", " << y;
  }
  template <typename Place>
  static void expectBox(const ScreenRect& r, Place place, int on, int off) {
    place(off);
    const Frame without = drawn();
    place(on);
    expectDrawnExactly(r, drawn(), without);
  }
};

TEST_F(CursorBoxTest, CursorBoxesLieExactlyOnTheClickBoxesAtEveryPanelsCorners) {
  EditorState& e = app.editor;
  for (const auto& [track, column, row, line] :
       {std::tuple{0, 0, 0, 0}, {4, 0, 63, 34}, {3, 4, 40, 17}, {1, 1, 17, 17}}) {
    SCOPED_TRACE(testing::Message() << "track " << track << " row " << row);
    e.cursorRow = row;
    e.cursorColumn = column;
    expectBox(patternFieldRect(track, column, line), [&](int t) { e.cursorChannel = t; }, track, track == 2 ? 0 : 2);
  }
  app.song.orderCount = 20;
  expectBox(orderEntryRect(0), [&](int c) { e.orderCursor = c; }, 0, 2);
  expectBox(orderEntryRect(14), [&](int c) { e.orderCursor = c; }, 19, 17);
  expectBox(instrumentEntryRect(0), [&](int i) { e.currentInstrument = i; }, 0, 2);
  expectBox(instrumentEntryRect(15), [&](int i) { e.currentInstrument = i; }, 15, 13);
  e.currentInstrument = 1;
  setEnvelope(app.song.envelopes[1][kDutyEnvelope], {0, 1, 2, 3, 0, 1, 2, 3, 0, 1});
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    e.selectedEnvelope = k;
    expectBox(envelopeStepRect(k, 0), [&](int p) { e.envelopeCursor[k] = p; }, 0, 2);
  }
  expectBox(envelopeStepRect(kDutyEnvelope, 5), [&](int p) { e.envelopeCursor[kDutyEnvelope] = p; }, 9, 7);
}

TEST_F(CursorBoxTest, ChooserSelectionLiesExactlyOnItsClickBoxes) {
  for (int i = 0; i < 30; ++i) writeFile(dir.file("song" + std::to_string(100 + i) + ".qcm"), {1});
  FileChooser chooser = makeChooser(ChooserMode::Open, "Open", kModuleFilter, dir.path());
  const auto drawnWith = [&](int selected) {
    chooser.selected = selected;
    drawFileChooser(chooser, fakeTicks);
    return drawn(false);
  };
  expectDrawnExactly(chooserEntryRect(0), drawnWith(0), drawnWith(2));
  expectDrawnExactly(chooserEntryRect(kChooserRows - 1), drawnWith(kChooserRows - 1), drawnWith(kChooserRows - 3));
}

class MouseTest : public ScreenTest {
 protected:
  // Through the main loop's dispatch, as SDL delivers it.
  static void button(Uint8 type, int which, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = Uint8(which);
    event.button.x = Uint16(x);
    event.button.y = Uint16(y);
    handleEvent(event);
  }
  static void click(const ScreenRect& r, int which = kMouseLeft) {
    button(SDL_MOUSEBUTTONDOWN, which, r.x + r.width / 2, r.y + r.height / 2);
    button(SDL_MOUSEBUTTONUP, which, r.x + r.width / 2, r.y + r.height / 2);
  }
  static void dragTo(const ScreenRect& r) { mouseMotion(r.x + 1, r.y + 1, true); }
  static std::array<int32_t, 4> selection() {
    const EditorState& e = app.editor;
    return {e.selectionStartChannel, e.selectionStartRow, e.selectionEndChannel, e.selectionEndRow};
  }
};

TEST_F(MouseTest, AClickPointsAtWhatIsDrawnThereAndTakesTheFocus) {
  EditorState& e = app.editor;
  e.cursorRow = 40;  // rows 23..57 on screen
  click(patternFieldRect(3, 2, 0));
  EXPECT_EQ((std::array{e.cursorChannel, e.cursorColumn, e.cursorRow}), (std::array{3, 2, 23}));
  app.song.orderCount = 20;
  e.orderCursor = 12;  // positions 5..19 on screen
  click(orderEntryRect(0));
  EXPECT_EQ(e.orderCursor, 5);
  EXPECT_EQ(e.focus, kFocusOrderList);
  app.song.orderCount = 3;
  click(orderEntryRect(3));
  EXPECT_EQ(e.orderCursor, 5) << "below the last entry";

  e.naming = true;
  click(instrumentEntryRect(1));
  EXPECT_TRUE(e.naming) << "the name being typed stays";
  app.song.instrumentNames[7] = "bass";
  click(instrumentEntryRect(7));
  EXPECT_EQ(e.currentInstrument, 7);
  EXPECT_EQ(e.nameCursor, 4);
  EXPECT_FALSE(e.naming);
  EXPECT_EQ(e.focus, kFocusInstrumentList);

  setEnvelope(app.song.envelopes[7][kNoteEnvelope], {64, 64, 64, 64, 64, 64, 64, 64, 64, 64});
  e.envelopeCursor[kNoteEnvelope] = 6;  // steps 3..8 on screen
  click(envelopeStepRect(kNoteEnvelope, 5));
  EXPECT_EQ(e.selectedEnvelope, kNoteEnvelope);
  EXPECT_EQ(e.envelopeCursor[kNoteEnvelope], 8);
  EXPECT_EQ(e.focus, kFocusEnvelope);
  click(patternFieldRect(0, 0, 0));
  EXPECT_EQ(e.focus, kFocusPattern);
  e.currentInstrument = 0;  // no envelope editor on screen
  click(envelopeStepRect(kVolumeEnvelope, 0));
  EXPECT_EQ(e.focus, kFocusPattern);
  EXPECT_EQ(e.selectedEnvelope, kNoteEnvelope);
}

TEST_F(MouseTest, TheWheelMovesTheCursorOfThePanelUnderThePointerWithinItsRange) {
  EditorState& e = app.editor;
  const auto wheel = [](int which, const ScreenRect& r, int times = 1) {
    for (int i = 0; i < times; ++i) button(SDL_MOUSEBUTTONDOWN, which, r.x, r.y);
  };
  e.step = 4;
  wheel(kWheelDown, patternFieldRect(1, 0, 20), 2);
  EXPECT_EQ(e.cursorRow, 8);
  e.step = 0;
  wheel(kWheelUp, headingRect(2));
  EXPECT_EQ(e.cursorRow, 7);
  wheel(kWheelDown, patternFieldRect(1, 0, 20), 60);
  EXPECT_EQ(e.cursorRow, 63) << "no wrap";

  app.song.orderCount = 3;
  wheel(kWheelDown, orderEntryRect(0), 5);
  EXPECT_EQ(e.orderCursor, 2);
  wheel(kWheelDown, instrumentEntryRect(0), 20);
  EXPECT_EQ(e.currentInstrument, 15);
  setEnvelope(app.song.envelopes[15][kDutyEnvelope], {0, 1, 2});
  wheel(kWheelDown, envelopeStepRect(kDutyEnvelope, 0), 5);
  EXPECT_EQ(e.selectedEnvelope, kDutyEnvelope);
  EXPECT_EQ(e.envelopeCursor[kDutyEnvelope], 2);
  EXPECT_EQ(e.focus, kFocusPattern) << "the wheel leaves the focus";
}

TEST_F(MouseTest, ADragSelectsWhatLeftAltAndTheArrowsSelect) {
  app.editor.cursorChannel = 1;
  app.editor.cursorRow = 2;
  press(kKeyLAlt);
  press(kKeyRight, kModLAlt);
  press(kKeyDown, kModLAlt);
  press(kKeyDown, kModLAlt);
  const auto byKeys = selection();

  resetToProgramStart();
  button(SDL_MOUSEBUTTONDOWN, kMouseLeft, patternFieldRect(1, 3, 2).x, patternFieldRect(1, 3, 2).y);
  dragTo(patternFieldRect(1, 3, 2));
  EXPECT_EQ(selection(), (std::array{0, 0, 0, 0})) << "a press, or a jitter within its cell, leaves the old block";
  dragTo(patternFieldRect(3, 0, 6));
  dragTo(patternFieldRect(2, 0, 4));
  button(SDL_MOUSEBUTTONUP, kMouseLeft, 0, 0);
  EXPECT_EQ(selection(), byKeys);
  EXPECT_EQ(app.editor.cursorRow, 2) << "the cursor stays where the drag began";
  dragTo(patternFieldRect(4, 0, 9));
  EXPECT_EQ(selection(), byKeys) << "no drag after the release";
  press('c', kModLCtrl);
  EXPECT_EQ(app.clipboard.clipboardWidth, 2);
  EXPECT_EQ(app.clipboard.clipboardHeight, 3);
}

TEST_F(MouseTest, ADragHeldPastTheTopOrBottomLineScrollsToTheEndsAndStops) {
  mousePress(kMouseLeft, patternFieldRect(2, 0, 10).x, patternFieldRect(2, 0, 10).y, 0);
  mouseMotion(patternFieldRect(2, 0, 0).x, -40, true);
  for (int frame = 0; frame < 80; ++frame) continueDrag();
  EXPECT_EQ(selection(), (std::array{2, 10, 2, 0}));
  mouseMotion(patternFieldRect(0, 0, 0).x, kStatusY, true);  // the line just below the rows
  EXPECT_EQ(app.editor.selectionEndRow, 0) << "below the view only the scrolling moves the end";
  for (int frame = 0; frame < 20; ++frame) continueDrag();
  EXPECT_EQ(app.editor.selectionEndRow, 20 + kVisibleRows - 1);
  for (int frame = 0; frame < 80; ++frame) continueDrag();
  EXPECT_EQ(selection(), (std::array{2, 10, 0, 63}));
  EXPECT_EQ(app.editor.cursorRow, 46);  // just far enough for the last row to show
  mouseMotion(0, 0, false);  // the release happened outside the window
  continueDrag();
  EXPECT_EQ(app.editor.cursorRow, 46);
}

TEST_F(MouseTest, HeadingsMuteOnTheLeftButtonAndSoloOnTheRight) {
  click(headingRect(3));
  EXPECT_EQ(app.editor.channelMask, 31u & ~(1u << 3));
  click(headingRect(1), kMouseRight);
  EXPECT_EQ(app.editor.channelMask, 1u << 1);
  click(headingRect(1), kMouseRight);
  EXPECT_EQ(app.editor.channelMask, 31u);
  EXPECT_EQ(app.editor.cursorChannel, 0) << "the cursor does not move";
}

TEST_F(MouseTest, StrayButtonsAndPointsKeepTheSongTheCursorsAndTheUndoHistory) {
  app.editor.editMode = true;
  press('q');
  app.editor.cursorRow = 5;
  const Bytes before = encodeModule(app.song);
  const EditorState& e = app.editor;

  for (const int which : {0, 1, 2, 3, 4, 5, 6, 7, 255})
    for (const auto& [x, y] : {std::pair{-1, -1}, {INT_MIN, INT_MAX}, {kScreenWidth, kScreenHeight}, {376, 300},
                               {kOrderListX, 11 * 16}, {kInstrumentX, 29 * 16}, {700, 590}}) {
      mousePress(which, x, y, 0);
      mouseMotion(x, y, true);
      continueDrag();
      mouseRelease(which);
    }
  mouseRelease(kMouseRight);
  mouseMotion(10, 10, true);
  // A second button while the first is down does nothing.
  mousePress(kMouseLeft, patternFieldRect(1, 0, 3).x, patternFieldRect(1, 0, 3).y, 0);
  mousePress(kMouseRight, headingRect(1).x, headingRect(1).y, 0);
  mousePress(kWheelDown, 100, 100, 0);
  mouseRelease(kMouseRight);
  EXPECT_EQ(e.channelMask, 31u);
  EXPECT_EQ(e.cursorRow, 3);
  mouseRelease(kMouseLeft);

  EXPECT_EQ(encodeModule(app.song), before);
  EXPECT_TRUE(e.cursorRow >= 0 && e.cursorRow < kRows && e.cursorChannel >= 0 && e.cursorChannel < kChannels);
  EXPECT_TRUE(e.selectionEndRow >= 0 && e.selectionEndRow < kRows);
  press('z', kModLCtrl);
  EXPECT_EQ(cellAt(0, 0).note, 0) << "the key's edit is still the last undo step";
}

TEST_F(MouseTest, InTheChooserAClickSelectsADoubleClickOpensTheWheelScrolls) {
  for (int i = 0; i < 30; ++i) writeFile(dir.file("song" + std::to_string(10 + i) + ".qcm"), {1});
  std::optional<std::string> answer;  // the dialog opens in the working folder
  openFileDialog("Open module", kModuleFilter, [&](const std::optional<std::string>& path) { answer = path; });
  const FileChooser& chooser = *activeFileChooser();
  const auto clickRow = [](int row, uint32_t ticks) {
    mousePress(kMouseLeft, chooserEntryRect(row).x, chooserEntryRect(row).y, ticks);
    mouseRelease(kMouseLeft);
  };
  clickRow(2, 1000);
  clickRow(2, 1000 + kDoubleClickMs + 1);
  EXPECT_EQ(chooser.selected, 2);
  EXPECT_FALSE(fileDialogAnswered()) << "two clicks too far apart";
  mousePress(kWheelDown, 0, 0, 0);
  EXPECT_EQ(chooser.top, kChooserWheelEntries);
  EXPECT_EQ(chooser.selected, 2);
  click(patternFieldRect(2, 0, 9));
  EXPECT_EQ(app.editor.cursorRow, 0) << "the editor gets no clicks while a chooser is open";
  clickRow(1, 3000);
  clickRow(1, 3000 + kDoubleClickMs);
  ASSERT_TRUE(fileDialogAnswered());
  finishFileDialog();
  EXPECT_EQ(answer, dir.file("song" + std::to_string(10 + kChooserWheelEntries) + ".qcm"));  // after ".."
}

}  // namespace

}  // namespace qc
