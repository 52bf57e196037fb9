// Drives the file commands through the real file dialog, key by key, in a
// fresh working directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/file_commands.h"
#include "app/file_dialog.h"
#include "editor/key_codes.h"
#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/shell_services.h"
#include "tests/temp_dir.h"

class FileCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDirectory = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    resetToProgramStart();
    clearUndoHistory();
    resetFileDialogs();
    setFileCommandRunner(startFileCommand);
    savedTicks = shell.ticks;
    shell.ticks = [] { return uint32_t(100000); };
  }
  void TearDown() override {
    shell.ticks = savedTicks;
    setFileCommandRunner(nullptr);
    resetFileDialogs();
    std::filesystem::current_path(savedDirectory);
  }

  static void dialogKey(int32_t sym, uint16_t unicode = 0) { fileDialogKey(KeyEvent{sym, 0, unicode}); }
  // Types the name into the open dialog, presses Return and lets the
  // command finish as the main loop would.
  static void answer(const std::string& name) {
    for (const char c : name) dialogKey(c, uint16_t(uint8_t(c)));
    dialogKey(kKeyReturn);
    finishFileDialog();
  }
  static void cancel() {
    dialogKey(kKeyEscape);
    finishFileDialog();
  }
  static void run(FileCommand command, const std::string& name) {
    runFileCommand(command);
    answer(name);
  }

  TempDir dir;
  std::filesystem::path savedDirectory;
  uint32_t (*savedTicks)() = nullptr;
};
