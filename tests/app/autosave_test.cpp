#include "app/autosave.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "song/shell_services.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

uint32_t clockMs;

class AutosaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDirectory = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    resetToProgramStart();
    savedTicks = shell.ticks;
    clockMs = 0;
    shell.ticks = [] { return clockMs; };
  }
  void TearDown() override {
    shell.ticks = savedTicks;
    std::filesystem::current_path(savedDirectory);
  }
  // Runs main-loop passes every 40 ms up to the given time.
  static void idleUntil(uint32_t ms) {
    while (clockMs < ms) {
      clockMs += 40;
      autosaveIfDue();
    }
  }
  bool backupExists() const { return std::filesystem::exists(dir.file(kBackupFileName)); }

  TempDir dir;
  std::filesystem::path savedDirectory;
  uint32_t (*savedTicks)() = nullptr;
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";

  app.song.orderCount = 3;
  app.lastAutosaveTime = 0xFFFFF000u;  // the clock has wrapped since
  idleUntil(clockMs + 40);
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
    clockMs = 0;
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
