#include "app/module_loading.h"

#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "editor/live_player.h"
#include "song/module_file.h"
#include "song/shell_services.h"

bool loadModuleFromPath(const std::string& path) {
  AudioLock lock;
  if (!loadModuleFile(path)) return false;
  resetPlayer();
  clearUndoHistory();
  return true;
}

void openModuleWithStatus(const std::string& path) {
  if (!loadModuleFromPath(path)) {
    setStatus("Couldn't open file!");
    return;
  }
  setStatus("File succesfully opened!");
}

void handleDroppedFiles(std::span<const std::string> paths) {
  if (paths.empty()) {
    setStatus("Couldn't open file!");
    return;
  }
  openModuleWithStatus(paths.front());
}
