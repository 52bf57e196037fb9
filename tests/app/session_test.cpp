// A run of the program: starting up, the backup every minute, quitting.
#include "app/autosave.h"

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "app/main_loop.h"
#include "app/start_up.h"
#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "screen_fixture.h"
#include "song/module_file.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class StartUpTest : public ScreenTest {
 protected:
  void TearDown() override {
    shutDownWindow();
    ScreenTest::TearDown();
  }
  static bool start(const std::string& module = "") {
    char* args[] = {const_cast<char*>("quillchanter"), const_cast<char*>(module.c_str()), nullptr};
    return startUp(module.empty() ? 1 : 2, args);
  }
  std::string userBackground() const { return dir.file("user-background.bmp"); }
};

TEST_F(StartUpTest, FreshStartShowsTheEmbeddedSkinAndReadyAndTheQuitEventEndsTheLoop) {
  ASSERT_TRUE(start());
  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  EXPECT_STREQ(title, "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
  EXPECT_EQ(surfaces.background->h, 592);
  EXPECT_EQ(app.status.text, "Ready.");
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  handleEvent(quit);
  EXPECT_FALSE(app.running);
}

TEST_F(StartUpTest, UserBackgroundBesideTheProgramReplacesTheSkinUnscaledUnlessUnreadable) {
  writeFile(userBackground(), {'n', 'o', 't', ' ', 'b', 'm', 'p'});
  EXPECT_STREQ(chooseBackground(dir.path()), "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
  SDL_FreeSurface(surfaces.background);

  SDL_Surface* bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 50, 24, 0, 0, 0, 0);
  SDL_FillRect(bitmap, nullptr, SDL_MapRGB(bitmap->format, 10, 200, 30));
  ASSERT_EQ(SDL_SaveBMP(bitmap, userBackground().c_str()), 0);
  SDL_FreeSurface(bitmap);
  EXPECT_STREQ(chooseBackground(dir.path()), "Qxxxxchanter");
  ASSERT_NE(surfaces.background, nullptr);
  drawBackground();
  EXPECT_EQ(pixel(99, 49), (Rgb{10, 200, 30}));
  EXPECT_EQ(pixel(100, 49), (Rgb{0, 0, 0}));
  EXPECT_EQ(pixel(99, 50), (Rgb{0, 0, 0}));
}

TEST_F(StartUpTest, ModuleNamedOnTheCommandLineIsLoaded) {
  app.song.orderCount = 3;
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  ASSERT_TRUE(start(dir.file("song.qcm")));
  EXPECT_EQ(app.status.text, "File succesfully opened!");
  EXPECT_EQ(statusAlpha(fakeTicks), 255);  // it replaced "Ready." at once
  EXPECT_EQ(app.song.orderCount, 3);
}

// The screen fixture's clock, from 0.
class AutosaveTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    fakeTicks = 0;
  }
  // Runs main-loop passes every 40 ms up to the given time.
  static void idleUntil(uint32_t ms) {
    while (fakeTicks < ms) {
      fakeTicks += 40;
      autosaveIfDue();
    }
  }
  bool backupExists() const { return std::filesystem::exists(dir.file(kBackupFileName)); }
};

TEST_F(AutosaveTest, BackupIsWrittenOnceAMinuteWithTheSongAsItIsThenEvenAcrossTheClockWrap) {
  idleUntil(60000);
  EXPECT_FALSE(backupExists()) << "exactly 60 s is not yet more than a minute";
  app.song.orderCount = 2;
  idleUntil(61000);
  ASSERT_TRUE(backupExists());
  EXPECT_EQ(readFile(dir.file(kBackupFileName)), encodeModule(app.song));
  const uint32_t firstSave = app.lastAutosaveTime;
  EXPECT_GT(firstSave, 60000u);

  app.song.orderCount = 7;
  idleUntil(firstSave + 60000);
  EXPECT_NE(readFile(dir.file(kBackupFileName)), encodeModule(app.song));
  idleUntil(121000);
  EXPECT_EQ(readFile(dir.file(kBackupFileName)), encodeModule(app.song));
  EXPECT_EQ(dir.entries(), 1) << "no temporary left";

  app.song.orderCount = 3;
  app.lastAutosaveTime = 0xFFFFF000u;  // the clock has wrapped since
  idleUntil(fakeTicks + 40);
  EXPECT_EQ(readFile(dir.file(kBackupFileName)), encodeModule(app.song));
}

// A full disk, even for root: no file may grow past 64 bytes.
TEST_F(AutosaveTest, FailedBackupIsSilentKeepsEarlierBackupsAndIsRetriedAMinuteLater) {
  writeFile(dir.file(kBackupFileName), {'o', 'l', 'd'});
  app.status.text = "Ready.";
  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &tiny);
  testing::internal::CaptureStdout();
  idleUntil(61000);
  setrlimit(RLIMIT_FSIZE, &saved);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(app.status.text, "Ready.");
  EXPECT_EQ(readFile(dir.file(keptBackupName(1))), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_FALSE(backupExists());
  EXPECT_EQ(app.song.orderCount, 1);

  idleUntil(122000);
  EXPECT_EQ(readFile(dir.file(kBackupFileName)), encodeModule(app.song));
  EXPECT_EQ(readFile(dir.file(keptBackupName(1))), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

// Six runs in one folder, each leaving a backup: the last five are kept.
TEST_F(AutosaveTest, EarlierRunsBackupsAreRotatedNeverOverwritten) {
  for (int run = 1; run <= 6; ++run) {
    resetToProgramStart();
    fakeTicks = 0;
    app.song.orderCount = run;
    testing::internal::CaptureStdout();
    idleUntil(61000);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(said, run == 1 ? "" : "quillchanter: the earlier backup.qcm is kept as backup-1.qcm\n");
    idleUntil(122000);  // a second backup in the same run replaces the run's own
  }
  for (int n = 1; n <= kKeptBackups; ++n) {
    ParsedModule kept;
    ASSERT_TRUE(readModuleFile(dir.file(keptBackupName(n)), kept)) << n;
    EXPECT_EQ(kept.song->orderCount, 6 - n);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file(keptBackupName(kKeptBackups + 1))));
}

TEST_F(AutosaveTest, QuitWithUnsavedChangesWritesTheBackupAndSaysSo) {
  clearUndoHistory();
  testing::internal::CaptureStdout();
  backupUnsavedSong();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(backupExists()) << "nothing to keep";

  writeFile(dir.file(kBackupFileName), {'o', 'l', 'd'});
  beginUndoStep();
  recordOrderListChange();
  app.song.orderCount = 9;
  endUndoStep();
  testing::internal::CaptureStdout();
  backupUnsavedSong();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "quillchanter: the earlier backup.qcm is kept as backup-1.qcm\n"
            "quillchanter: unsaved changes written to backup.qcm\n");
  EXPECT_EQ(readFile(dir.file(kBackupFileName)), encodeModule(app.song));
  EXPECT_FALSE(unsavedChanges());
}

}  // namespace

}  // namespace qc
