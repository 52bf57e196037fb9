// The once-a-minute backup of the song to "backup.qcm" in the working
// directory, written through a temporary file so that a crash part way
// never leaves a broken backup. Silent: a failure is retried a minute later.
//
// A backup.qcm left by an earlier run (a crash, a quit with unsaved work) is
// never overwritten: before this run's first backup it moves to
// backup-1.qcm, pushing backup-1..4 up one and dropping backup-5.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

inline constexpr uint32_t kAutosaveIntervalMs = 60000;
inline constexpr const char* kBackupFileName = "backup.qcm";
inline constexpr int kKeptBackups = 5;

// "backup-N.qcm", N = 1..kKeptBackups, 1 the newest.
std::string keptBackupName(int n);

// Called once per main-loop pass; saves when more than a minute has passed
// since the last autosave (or program start), then restarts the clock.
void autosaveIfDue();
// At exit: when the song has unsaved changes, writes the backup and says so
// on stdout.
void backupUnsavedSong();

}  // namespace qc
