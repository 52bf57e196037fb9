#include "app/autosave.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "song/shell_services.h"

namespace qc {

namespace {

// Moves an earlier run's backup aside; false, with nothing lost, when the
// folder refuses, so the backup is not written over it.
bool keepEarlierBackup() {
  if (app.earlierBackupKept) return true;
  struct stat info;
  if (lstat(kBackupFileName, &info) != 0) return app.earlierBackupKept = errno == ENOENT;
  for (int n = kKeptBackups - 1; n >= 1; --n) std::rename(keptBackupName(n).c_str(), keptBackupName(n + 1).c_str());
  const std::string kept = keptBackupName(1);
  if (std::rename(kBackupFileName, kept.c_str()) != 0) return false;
  std::printf("quillchanter: the earlier %s is kept as %s\n", kBackupFileName, kept.c_str());
  std::fflush(stdout);
  return app.earlierBackupKept = true;
}

bool writeBackup() {
  if (!keepEarlierBackup() || !saveModule(kBackupFileName)) return false;
  markSongSaved();
  return true;
}

}  // namespace

std::string keptBackupName(int n) { return "backup-" + std::to_string(n) + ".qcm"; }

void autosaveIfDue() {
  if (shell.ticks() - app.lastAutosaveTime <= kAutosaveIntervalMs) return;
  writeBackup();
  app.lastAutosaveTime = shell.ticks();
}

void backupUnsavedSong() {
  if (!unsavedChanges()) return;
  if (writeBackup()) {
    std::printf("quillchanter: unsaved changes written to %s\n", kBackupFileName);
  } else {
    std::printf("quillchanter: unsaved changes could not be written to %s\n", kBackupFileName);
  }
  std::fflush(stdout);
}

}  // namespace qc
