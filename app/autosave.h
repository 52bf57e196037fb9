// The once-a-minute backup of the song to "backup.qcm" in the working
// directory, written through a temporary file so that a crash part way
// never leaves a broken backup. Silent: a failure is retried a minute later.
#pragma once

#include <cstdint>

inline constexpr uint32_t kAutosaveIntervalMs = 60000;
inline constexpr const char* kBackupFileName = "backup.qcm";

// Called once per main-loop pass; saves when more than a minute has passed
// since the last autosave (or program start), then restarts the clock.
void autosaveIfDue();
