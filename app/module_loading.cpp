#include "app/module_loading.h"

#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "editor/live_player.h"
#include "song/module_file.h"
#include "song/shell_services.h"

namespace qc {

bool loadModuleFromPath(const std::string& path) {
  // Read without the audio lock: the loader takes it only to swap the song in.
  std::unique_ptr<Song> previous;
  if (!loadModuleFile(path, nullptr, &previous)) return false;
  AudioLock lock;
  resetPlayer();
  recordOpenedModule(std::move(previous));
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

}  // namespace qc
