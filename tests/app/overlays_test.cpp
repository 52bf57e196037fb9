// What is drawn over the editor and takes its keys: the file chooser and the
// help page.
#include "app/file_chooser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "app/draw_screen.h"
#include "app/file_chooser_view.h"
#include "app/file_dialog.h"
#include "app/help_overlay.h"
#include "app/main_loop.h"
#include "app/palette.h"
#include "editor/key_codes.h"
#include "screen_fixture.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

namespace fs = std::filesystem;

ChooserOutcome key(FileChooser& chooser, int32_t sym, uint16_t unicode = 0) {
  return chooserKey(chooser, KeyEvent{sym, 0, unicode});
}

void typeText(FileChooser& chooser, std::string_view text) {
  for (const char c : text) key(chooser, std::tolower(uint8_t(c)), uint16_t(uint8_t(c)));
}

std::vector<std::string> names(const FileChooser& chooser) {
  std::vector<std::string> result;
  for (const ChooserEntry& e : chooser.entries) result.push_back(e.name);
  return result;
}

const std::string& selectedName(const FileChooser& chooser) { return chooser.entries[size_t(chooser.selected)].name; }

// A chooser over a made-up list, for the keys that only move.
FileChooser listOf(int count) {
  FileChooser chooser;
  chooser.filter = kModuleFilter;
  for (int i = 0; i < count; ++i) chooser.entries.push_back({"song" + std::to_string(100 + i) + ".qcm", false});
  return chooser;
}

TEST(FileChooserListing, FoldersComeFirstThenFilesOfTheActiveTypeIgnoringCase) {
  const std::vector<ChooserEntry> listing = {{"b.qcm", false},     {"Zeta", true},  {"a.QCM", false},
                                             {"notes.txt", false}, {"alpha", true}, {".hidden.qcm", false},
                                             {".git", true},       {"qcm", false}};
  EXPECT_EQ(arrangeEntries(listing, "*.qcm", false),
            (std::vector<ChooserEntry>{
                {"..", true}, {"alpha", true}, {"Zeta", true}, {"a.QCM", false}, {"b.qcm", false}}));
  const auto all = arrangeEntries(listing, "*.*", true);  // at the root: no ".."
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[0].name, "alpha");
  EXPECT_EQ(all.back().name, "qcm");
}

TEST(FileChooserKeys, ArrowsPagesAndEndsMoveWithinTheListAndScrollIt) {
  FileChooser chooser = listOf(50);
  const struct {
    int32_t key;
    int selected, top;
  } steps[] = {{kKeyUp, 0, 0}, {kKeyDown, 1, 0}, {kKeyDown, 2, 0}, {kKeyPageDown, 2 + kChooserRows - 1, 2},
               {kKeyEnd, 49, 50 - kChooserRows}, {kKeyPageDown, 49, 50 - kChooserRows},
               {kKeyPageUp, 49 - kChooserRows + 1, 50 - kChooserRows}, {kKeyHome, 0, 0}};
  for (const auto& step : steps) {
    key(chooser, step.key);
    EXPECT_EQ(chooser.selected, step.selected) << "after key " << step.key;
    EXPECT_EQ(chooser.top, step.top) << "after key " << step.key;
  }
}

TEST(FileChooserKeys, TypingJumpsToTheFirstMatchAndBackspaceErases) {
  FileChooser chooser = listOf(30);
  typeText(chooser, "SONG12");
  EXPECT_EQ(chooser.typedName, "SONG12");
  EXPECT_EQ(selectedName(chooser), "song120.qcm");
  key(chooser, kKeyBackspace);
  EXPECT_EQ(chooser.typedName, "SONG1");
  key(chooser, 'x', 0xE9);  // an accented letter is kept as UTF-8
  EXPECT_EQ(chooser.typedName, "SONG1\xC3\xA9");
  key(chooser, kKeyBackspace);
  EXPECT_EQ(chooser.typedName, "SONG1");
  chooserKey(chooser, KeyEvent{'s', kModLAlt, 's'});
  EXPECT_EQ(chooser.typedName, "SONG1");
  EXPECT_EQ(key(chooser, kKeyEscape), ChooserOutcome::Canceled);
}

TEST(FileChooserKeys, DefaultExtensionOnlyForANameWithoutOne) {
  EXPECT_EQ(withDefaultExtension("/a.b/song", "qcm"), "/a.b/song.qcm");
  EXPECT_EQ(withDefaultExtension(".hidden", "qcm"), ".hidden.qcm");
}

class FileChooserFolderTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    fs::create_directories(dir.file("tunes/deep"));
    writeFile(dir.file("tunes/one.qcm"), {1});
    writeFile(dir.file("tunes/two.nsf"), {2});
    writeFile(dir.file("top.qcm"), {3});
  }
  FileChooser chooser(ChooserMode mode, const std::string& folder = "") const {
    return makeChooser(mode, "Module", kModuleFilter, folder.empty() ? dir.path() : dir.file(folder));
  }
};

TEST_F(FileChooserFolderTest, ReturnEntersFoldersAndBackspaceGoesBackToWhereItCameFrom) {
  FileChooser c = chooser(ChooserMode::Open);
  EXPECT_EQ(names(c), (std::vector<std::string>{"..", "tunes", "top.qcm"}));
  key(c, kKeyDown);
  EXPECT_EQ(key(c, kKeyReturn), ChooserOutcome::StillOpen);
  EXPECT_EQ(c.folder, fs::path(dir.file("tunes")));
  EXPECT_EQ(names(c), (std::vector<std::string>{"..", "deep", "one.qcm"}));
  key(c, kKeyBackspace);
  EXPECT_EQ(c.folder, fs::path(dir.path()));
  EXPECT_EQ(selectedName(c), "tunes");
  key(c, kKeyHome);
  key(c, kKeyReturn);  // ".." as well
  EXPECT_EQ(c.folder, fs::path(dir.path()).parent_path());
}

TEST_F(FileChooserFolderTest, TabShowsTheFilterOtherTypesAndKeepsTheSelection) {
  FileChooser c = chooser(ChooserMode::Open, "tunes");
  key(c, kKeyEnd);
  key(c, kKeyTab);
  EXPECT_EQ(c.typeIndex, 1);
  EXPECT_EQ(names(c), (std::vector<std::string>{"..", "deep", "one.qcm", "two.nsf"}));
  EXPECT_EQ(selectedName(c), "one.qcm");
  key(c, kKeyTab);
  EXPECT_EQ(c.typeIndex, 0);
}

TEST_F(FileChooserFolderTest, OpeningTakesTheTypedNameOrTheJumpTarget) {
  ASSERT_EQ(mkfifo(dir.file("pipe.qcm").c_str(), 0644), 0);
  const struct {
    const char *typed, *chosen, *notice;
  } cases[] = {{"tunes/one", "tunes/one.qcm", ""},  // the default extension is tried
               {"to", "top.qcm", ""},
               {"missing", nullptr, "No such file"},
               {"pipe.qcm", nullptr, "Not a file that can be opened"}};  // it would wait for a writer
  for (const auto& t : cases) {
    SCOPED_TRACE(t.typed);
    FileChooser c = chooser(ChooserMode::Open);
    typeText(c, t.typed);
    EXPECT_EQ(key(c, kKeyReturn), t.chosen ? ChooserOutcome::Chosen : ChooserOutcome::StillOpen);
    EXPECT_EQ(c.chosen, t.chosen ? fs::path(dir.file(t.chosen)) : fs::path());
    EXPECT_EQ(c.notice, t.notice);
  }
}

TEST_F(FileChooserFolderTest, SavingTakesTheTypedNameWithTheDefaultExtension) {
  FileChooser c = chooser(ChooserMode::Save);
  typeText(c, "tunes");  // a folder's name enters it
  EXPECT_EQ(key(c, kKeyReturn), ChooserOutcome::StillOpen);
  EXPECT_EQ(c.folder, fs::path(dir.file("tunes")));
  EXPECT_EQ(c.typedName, "");
  typeText(c, "on");  // jumps to one.qcm, but the typed name is saved
  ASSERT_EQ(key(c, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(c.chosen, fs::path(dir.file("tunes/on.qcm")));

  c = chooser(ChooserMode::Save);
  typeText(c, dir.file("tunes/deep/new"));
  ASSERT_EQ(key(c, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(c.chosen, fs::path(dir.file("tunes/deep/new.qcm")));
}

TEST_F(FileChooserFolderTest, PathsOfAnyLengthWork) {
  std::string deep;
  for (int i = 0; i < 30; ++i) deep += "/folder-with-a-rather-long-name-" + std::to_string(i);
  ASSERT_GT(deep.size(), 1000u);
  fs::create_directories(dir.path() + deep);
  FileChooser c = chooser(ChooserMode::Save, deep.substr(1));
  EXPECT_EQ(c.folder, fs::path(dir.path() + deep));
  typeText(c, "x");
  ASSERT_EQ(key(c, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(c.chosen, fs::path(dir.path() + deep + "/x.qcm"));
}

TEST(FitText, LongTextsAreCutAndForeignCharactersShownAsQuestionMarks) {
  EXPECT_EQ(fitText("song.qcm", 20), "song.qcm");
  EXPECT_EQ(fitText("a-very-long-name.qcm", 10), "a-very-...");
  EXPECT_EQ(fitText("/home/me/music/tunes", 10, true), "...c/tunes");
  EXPECT_EQ(fitText("t\xC3\xA9st\tx", 20), "t?st?x");
  EXPECT_EQ(fitText("abcdef", 3), "abc");
}

TEST_F(FileChooserFolderTest, OpenDialogIsDrawnOverTheEditorAndTakesItsKeys) {
  app.editor.editMode = true;  // where the key would otherwise be a note
  openFileDialog("Open module", kModuleFilter, [](const std::optional<std::string>&) {});
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = SDLKey('t');
  event.key.keysym.unicode = 't';
  handleEvent(event);  // goes to the chooser, not to the pattern editor
  drawScreen();
  EXPECT_EQ(activeFileChooser()->typedName, "t");
  EXPECT_EQ(app.song.patterns[0].cells[0][0].note, 0);
  EXPECT_TRUE(inkIs("Open module", 36, 32, kGreen));
  EXPECT_TRUE(inkIs("File type: ", 40, 29 * kGlyphHeight, kLightBlue));
  EXPECT_TRUE(inkIs("Quillchanter Modules (*.qcm)", 40 + 11 * kGlyphWidth, 29 * kGlyphHeight, kWhite));

  drawFileChooser(chooser(ChooserMode::Save), 0);
  const int firstY = kChooserFirstEntryLine * kGlyphHeight;
  EXPECT_TRUE(inkIs("../", 40, firstY, kLightBlue));  // folders end in a slash
  EXPECT_TRUE(inkIs("tunes/", 40, firstY + kGlyphHeight, kLightBlue));
  EXPECT_TRUE(inkIs("top.qcm", 40, firstY + 2 * kGlyphHeight, kWhite));
}

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
