#include "app/autosave.h"

#include "song/app_state.h"
#include "song/module_file.h"
#include "song/shell_services.h"

void autosaveIfDue() {
  if (shell.ticks() - app.lastAutosaveTime <= kAutosaveIntervalMs) return;
  saveModule(kBackupFileName);
  app.lastAutosaveTime = shell.ticks();
}
