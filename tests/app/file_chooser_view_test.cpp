#include "app/file_chooser_view.h"

#include "app/draw_screen.h"
#include "app/file_dialog.h"
#include "app/main_loop.h"
#include "app/palette.h"
#include "editor/key_codes.h"
#include "screen_fixture.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

TEST(FitText, LongTextsAreCutAndForeignCharactersShownAsQuestionMarks) {
  EXPECT_EQ(fitText("song.qcm", 20), "song.qcm");
  EXPECT_EQ(fitText("a-very-long-name.qcm", 10), "a-very-...");
  EXPECT_EQ(fitText("/home/me/music/tunes", 10, true), "...c/tunes");
  EXPECT_EQ(fitText("t\xC3\xA9st\tx", 20), "t?st?x");
  EXPECT_EQ(fitText("abcdef", 3), "abc");
}

class FileChooserViewTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    resetFileDialogs();
    writeFile(dir.file("tune.qcm"), {1});
  }
  void TearDown() override {
    resetFileDialogs();
    ScreenTest::TearDown();
  }
  static void key(int32_t sym, uint16_t unicode = 0) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLKey(sym);
    event.key.keysym.unicode = unicode;
    handleEvent(event);
  }
  TempDir dir;
};

TEST_F(FileChooserViewTest, OpenDialogIsDrawnOverTheEditorAndTakesItsKeys) {
  openFileDialog("Open module", kModuleFilter, [](const std::optional<std::string>&) {});
  key('t', 't');  // goes to the chooser, not to the pattern editor
  drawScreen();
  EXPECT_EQ(activeFileChooser()->typedName, "t");
  EXPECT_EQ(app.song.patterns[0].cells[0][0].note, 0);
  EXPECT_TRUE(inkIs("Open module", 36, 32, kGreen));
  EXPECT_TRUE(inkIs("File type: ", 40, 29 * kGlyphHeight, kLightBlue));
  EXPECT_TRUE(inkIs("Quillchanter Modules (*.qcm)", 40 + 11 * kGlyphWidth, 29 * kGlyphHeight, kWhite));

  const FileChooser chooser = makeChooser(ChooserMode::Save, "Save module", kModuleFilter, dir.path());
  drawFileChooser(chooser, 0);
  const int firstY = kChooserFirstEntryLine * kGlyphHeight;
  EXPECT_TRUE(inkIs("../", 40, firstY, kLightBlue));  // folders end in a slash
  EXPECT_TRUE(inkIs("tune.qcm", 40, firstY + kGlyphHeight, kWhite));
}

}  // namespace

}  // namespace qc
