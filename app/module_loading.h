// Opening a module from a path: the command line, dropped files and the open
// command share this.
#pragma once

#include <string>

// Reads the module into the song under the audio lock; false when the file
// could not be opened or read.
bool loadModuleFromPath(const std::string& path);
// Loads it and reports the outcome; a loaded song starts from a reset player.
void openModuleWithStatus(const std::string& path);
