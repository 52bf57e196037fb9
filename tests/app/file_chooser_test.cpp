#include "app/file_chooser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "editor/key_codes.h"
#include "tests/temp_dir.h"

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

// A chooser over a made-up list, for the keys that only move.
FileChooser listOf(int count) {
  FileChooser chooser;
  chooser.filter = kModuleFilter;
  for (int i = 0; i < count; ++i) chooser.entries.push_back({"song" + std::to_string(100 + i) + ".qcm", false});
  return chooser;
}

TEST(FileChooserListing, FoldersComeFirstThenFilesOfTheActiveTypeIgnoringCase) {
  const std::vector<ChooserEntry> listing = {{"b.qcm", false},  {"Zeta", true},    {"a.QCM", false},
                                             {"notes.txt", false}, {"alpha", true}, {".hidden.qcm", false},
                                             {".git", true},    {"qcm", false}};
  EXPECT_EQ(arrangeEntries(listing, "*.qcm", false),
            (std::vector<ChooserEntry>{
                {"..", true}, {"alpha", true}, {"Zeta", true}, {"a.QCM", false}, {"b.qcm", false}}));
  const auto all = arrangeEntries(listing, "*.*", true);
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[0].name, "alpha");
  EXPECT_EQ(all.back().name, "qcm");
}

TEST(FileChooserKeys, ArrowsPagesAndEndsMoveWithinTheListAndScrollIt) {
  FileChooser chooser = listOf(50);
  key(chooser, kKeyUp);
  EXPECT_EQ(chooser.selected, 0);
  key(chooser, kKeyDown);
  key(chooser, kKeyDown);
  EXPECT_EQ(chooser.selected, 2);
  EXPECT_EQ(chooser.top, 0);
  key(chooser, kKeyPageDown);
  EXPECT_EQ(chooser.selected, 2 + kChooserRows - 1);
  EXPECT_EQ(chooser.top, chooser.selected - kChooserRows + 1);
  key(chooser, kKeyEnd);
  EXPECT_EQ(chooser.selected, 49);
  EXPECT_EQ(chooser.top, 50 - kChooserRows);
  key(chooser, kKeyPageDown);
  EXPECT_EQ(chooser.selected, 49);
  key(chooser, kKeyPageUp);
  EXPECT_EQ(chooser.selected, 49 - kChooserRows + 1);
  key(chooser, kKeyHome);
  EXPECT_EQ(chooser.selected, 0);
  EXPECT_EQ(chooser.top, 0);
}

TEST(FileChooserKeys, TypingJumpsToTheFirstMatchAndBackspaceErases) {
  FileChooser chooser = listOf(30);
  typeText(chooser, "SONG12");
  EXPECT_EQ(chooser.typedName, "SONG12");
  EXPECT_EQ(chooser.entries[size_t(chooser.selected)].name, "song120.qcm");
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
  EXPECT_EQ(withDefaultExtension("song", "qcm"), "song.qcm");
  EXPECT_EQ(withDefaultExtension("song.old", "qcm"), "song.old");
  EXPECT_EQ(withDefaultExtension("/a.b/song", "qcm"), "/a.b/song.qcm");
  EXPECT_EQ(withDefaultExtension(".hidden", "qcm"), ".hidden.qcm");
}

class FileChooserFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.file("tunes/deep"));
    writeFile(dir.file("tunes/one.qcm"), {1});
    writeFile(dir.file("tunes/two.nsf"), {2});
    writeFile(dir.file("top.qcm"), {3});
  }
  TempDir dir;
};

TEST_F(FileChooserFolderTest, ReturnEntersFoldersAndBackspaceGoesBackToWhereItCameFrom) {
  FileChooser chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.path());
  EXPECT_EQ(names(chooser), (std::vector<std::string>{"..", "tunes", "top.qcm"}));
  key(chooser, kKeyDown);
  EXPECT_EQ(key(chooser, kKeyReturn), ChooserOutcome::StillOpen);
  EXPECT_EQ(chooser.folder, fs::path(dir.file("tunes")));
  EXPECT_EQ(names(chooser), (std::vector<std::string>{"..", "deep", "one.qcm"}));
  key(chooser, kKeyBackspace);
  EXPECT_EQ(chooser.folder, fs::path(dir.path()));
  EXPECT_EQ(chooser.entries[size_t(chooser.selected)].name, "tunes");
  key(chooser, kKeyHome);
  key(chooser, kKeyReturn);  // ".." as well
  EXPECT_EQ(chooser.folder, fs::path(dir.path()).parent_path());
}

TEST_F(FileChooserFolderTest, TabShowsTheFilterOtherTypesAndKeepsTheSelection) {
  FileChooser chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.file("tunes"));
  key(chooser, kKeyEnd);
  key(chooser, kKeyTab);
  EXPECT_EQ(chooser.typeIndex, 1);
  EXPECT_EQ(names(chooser), (std::vector<std::string>{"..", "deep", "one.qcm", "two.nsf"}));
  EXPECT_EQ(chooser.entries[size_t(chooser.selected)].name, "one.qcm");
  key(chooser, kKeyTab);
  EXPECT_EQ(chooser.typeIndex, 0);
}

TEST_F(FileChooserFolderTest, OpeningTakesTheSelectionTheTypedNameOrTheJumpTarget) {
  FileChooser chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.path());
  key(chooser, kKeyEnd);
  ASSERT_EQ(key(chooser, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(chooser.chosen, fs::path(dir.file("top.qcm")));

  chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.path());
  typeText(chooser, "tunes/one");  // the default extension is tried
  ASSERT_EQ(key(chooser, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(chooser.chosen, fs::path(dir.file("tunes/one.qcm")));

  chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.path());
  typeText(chooser, "to");
  ASSERT_EQ(key(chooser, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(chooser.chosen, fs::path(dir.file("top.qcm")));

  chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.path());
  typeText(chooser, "missing");
  EXPECT_EQ(key(chooser, kKeyReturn), ChooserOutcome::StillOpen);
  EXPECT_EQ(chooser.notice, "No such file");

  ASSERT_EQ(mkfifo(dir.file("pipe.qcm").c_str(), 0644), 0);
  chooser = makeChooser(ChooserMode::Open, "Open module", kModuleFilter, dir.path());
  typeText(chooser, "pipe.qcm");
  EXPECT_EQ(key(chooser, kKeyReturn), ChooserOutcome::StillOpen) << "opening a pipe would wait for a writer";
  EXPECT_EQ(chooser.notice, "Not a file that can be opened");
}

TEST_F(FileChooserFolderTest, SavingTakesTheTypedNameWithTheDefaultExtension) {
  FileChooser chooser = makeChooser(ChooserMode::Save, "Save module", kModuleFilter, dir.path());
  typeText(chooser, "tunes");  // a folder's name enters it
  EXPECT_EQ(key(chooser, kKeyReturn), ChooserOutcome::StillOpen);
  EXPECT_EQ(chooser.folder, fs::path(dir.file("tunes")));
  EXPECT_EQ(chooser.typedName, "");
  typeText(chooser, "on");  // jumps to one.qcm, but the typed name is saved
  ASSERT_EQ(key(chooser, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(chooser.chosen, fs::path(dir.file("tunes/on.qcm")));

  chooser = makeChooser(ChooserMode::Save, "Save module", kModuleFilter, dir.path());
  typeText(chooser, dir.file("tunes/deep/new"));
  ASSERT_EQ(key(chooser, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(chooser.chosen, fs::path(dir.file("tunes/deep/new.qcm")));
}

TEST_F(FileChooserFolderTest, PathsOfAnyLengthWork) {
  std::string deep = dir.path();
  for (int i = 0; i < 30; ++i) deep += "/folder-with-a-rather-long-name-" + std::to_string(i);
  ASSERT_GT(deep.size(), 1000u);
  fs::create_directories(deep);
  FileChooser chooser = makeChooser(ChooserMode::Save, "Save module", kModuleFilter, deep);
  EXPECT_EQ(chooser.folder, fs::path(deep));
  typeText(chooser, "x");
  ASSERT_EQ(key(chooser, kKeyReturn), ChooserOutcome::Chosen);
  EXPECT_EQ(chooser.chosen, fs::path(deep + "/x.qcm"));
}

}  // namespace
