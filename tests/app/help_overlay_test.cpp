#include <vector>

#include "app/draw_screen.h"
#include "app/file_dialog.h"
#include "app/help_overlay.h"
#include "app/palette.h"
#include "editor/key_codes.h"
#include "screen_fixture.h"

namespace qc {

namespace {

using HelpOverlayTest = ScreenTest;

bool press(int32_t sym, int32_t mod = 0, uint16_t unicode = 0) { return helpOverlayKey({sym, mod, unicode}); }

bool questionMark() { return press('/', kModLShift, '?'); }

TEST_F(HelpOverlayTest, OpensWithTheFocusedContextFirstAndPagesUntilClosed) {
  app.editor.focus = kFocusEnvelope;
  EXPECT_FALSE(press('/', 0, '/'));
  EXPECT_TRUE(questionMark());
  EXPECT_TRUE(helpOverlay().open);
  EXPECT_EQ(helpOverlay().first, KeyContext::Envelope);
  ASSERT_GE(helpPageCount(), 2);
  for (int i = 0; i < 10; ++i) press(kKeyPageDown);
  EXPECT_EQ(helpOverlay().page, helpPageCount() - 1);
  press(kKeyPageUp);
  EXPECT_EQ(helpOverlay().page, helpPageCount() - 2);
  EXPECT_TRUE(press(kKeySpace));  // taken while shown: neither play nor edit mode
  EXPECT_TRUE(press(kKeyEscape));
  EXPECT_FALSE(helpOverlay().open);
  EXPECT_TRUE(press(kKeyF1, kModRShift));
  EXPECT_TRUE(press(kKeyF1, kModRShift));
  EXPECT_FALSE(helpOverlay().open);
  EXPECT_FALSE(press(kKeyF1, kModLShift | kModLAlt));  // Alt+F1 is the octave
}

TEST_F(HelpOverlayTest, QuestionMarkIsTextWhereTextIsTyped) {
  app.editor.focus = kFocusInstrumentList;
  app.editor.naming = true;
  EXPECT_FALSE(questionMark());
  EXPECT_TRUE(press(kKeyF1, kModLShift));
  EXPECT_EQ(helpOverlay().first, KeyContext::InstrumentName);
  closeHelpOverlay();
  app.editor.naming = false;
  openFileDialog("Open module", kModuleFilter, [](const std::optional<std::string>&) {});
  EXPECT_FALSE(questionMark());
  EXPECT_TRUE(press(kKeyF1, kModRShift));
  EXPECT_EQ(helpOverlay().first, KeyContext::FileChooser);
}

// Every key the shown help acts on is in its part of the key table.
TEST_F(HelpOverlayTest, EveryKeyItActsOnIsInTheKeyTable) {
  for (int32_t sym = 1; sym <= kKeyLAlt; ++sym) {
    for (int32_t mod : {0, kModLShift, kModRShift, kModLCtrl, kModLAlt}) {
      const uint16_t unicode = sym == '/' && mod == kModLShift ? '?' : 0;
      closeHelpOverlay();
      questionMark();
      press(kKeyPageDown);
      const HelpOverlay before = helpOverlay();
      press(sym, mod, unicode);
      if (helpOverlay().open == before.open && helpOverlay().page == before.page) continue;
      bool listed = false;
      for (const KeyBinding& b : keyBindings())
        listed = listed || (b.context == KeyContext::Help && bindingMatches(b, sym, mod, unicode));
      EXPECT_TRUE(listed) << "key " << sym << " mod " << mod;
    }
  }
}

TEST_F(HelpOverlayTest, DrawsTheSettingsAndTheFocusedKeysOverTheEditor) {
  app.editor.focus = kFocusOrderList;
  app.editor.octave = 5;
  app.song.patterns[0].cells[0][0].setEffect(0xF);
  app.song.patterns[0].cells[0][0].param = 0x80;  // typed 0 then 8: speed 8
  questionMark();
  drawScreen();
  EXPECT_TRUE(inkIs("Keys and settings", 8, 0, kGreen));
  EXPECT_TRUE(inkIs("Edit mode: off   Current octave: 5", 8, 16, kWhite));
  EXPECT_TRUE(inkIs("Speed 8, tempo 125", 8 + 8 * 25, 48, kWhite));
  EXPECT_TRUE(inkIs("Order list (F3)", 8, 96, kGreen));
  EXPECT_TRUE(inkIs("Up/Down", 16, 112, kWhite));
  press(kKeyPageDown);
  drawScreen();
  EXPECT_TRUE(inkIs("Everywhere (continued)", 8, 96, kGreen));
}

}  // namespace

}  // namespace qc
