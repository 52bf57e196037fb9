// Opening a module from a path: the command line, dropped files and the open
// command share this.
#pragma once

#include <span>
#include <string>

// Reads the module into the song under the audio lock; false when the file
// could not be opened or read.
bool loadModuleFromPath(const std::string& path);
// Loads it and reports the outcome; a loaded song starts from a reset player.
void openModuleWithStatus(const std::string& path);
// Files dropped on the window: the first is opened as a module, whatever
// its name; an empty drop is a file that could not be opened.
void handleDroppedFiles(std::span<const std::string> paths);
