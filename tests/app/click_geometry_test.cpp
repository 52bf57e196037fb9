#include <climits>
#include <string>
#include <vector>

#include "app/draw_screen.h"
#include "app/file_chooser_view.h"
#include "app/file_filters.h"
#include "app/screen_hit.h"
#include "app/screen_layout.h"
#include "editor/pattern_cursor.h"
#include "screen_fixture.h"
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
  TempDir dir;
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

}  // namespace

}  // namespace qc
