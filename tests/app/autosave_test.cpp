#include "app/autosave.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "song/app_state.h"
#include "song/module_file.h"
#include "song/shell_services.h"
#include "tests/temp_dir.h"

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

TEST_F(AutosaveTest, BackupIsWrittenOnceAMinuteWithTheSongAsItIsThen) {
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
}

TEST_F(AutosaveTest, FailedBackupIsSilentAndRetriedAMinuteLater) {
  std::filesystem::create_directory(dir.file(kBackupFileName));  // nothing can replace a folder
  app.status.text = "Ready.";
  idleUntil(61000);
  EXPECT_EQ(app.status.text, "Ready.");
  EXPECT_GT(app.lastAutosaveTime, 60000u);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file(kBackupFileName)));
}

TEST_F(AutosaveTest, ClockWrapDoesNotStopTheBackups) {
  app.lastAutosaveTime = 0xFFFFF000u;
  clockMs = 60000;
  autosaveIfDue();
  EXPECT_TRUE(backupExists());
}

}  // namespace
