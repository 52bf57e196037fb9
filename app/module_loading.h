// Opening a module from a path: the command line, dropped files and the open
// command share this.
#pragma once

#include <span>
#include <string>

namespace qc {

// Reads the module (a regular file only) and swaps it in under the audio
// lock, as one undoable step; false when it could not be opened or read.
bool loadModuleFromPath(const std::string& path);
// Loads it and reports the outcome; a loaded song starts from a reset player.
void openModuleWithStatus(const std::string& path);
// Files dropped on the window: the first is opened as a module, whatever
// its name; an empty drop is a file that could not be opened.
void handleDroppedFiles(std::span<const std::string> paths);

}  // namespace qc
