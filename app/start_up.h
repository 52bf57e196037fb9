// The one-time set-up of the window, its skin and the editor's first state.
#pragma once

#include <filesystem>

namespace qc {

// The directory of the running executable; empty when it cannot be found.
std::filesystem::path executableDirectory();
// Loads "user-background.bmp" from the directory, else the embedded skin,
// and returns the caption that goes with it.
const char* chooseBackground(const std::filesystem::path& directory);
// SDL's clock and audio lock become the host services of the core.
void useSdlShellServices();
// Skin, caption, key repeat, video mode, icon, drop target, file commands,
// program-start state, "Ready." and the module named by the first argument. False when SDL gives
// no window to draw in.
bool startUp(int argc, char** argv);
// Frees what startUp made; the screen surface belongs to SDL.
void shutDownWindow();

}  // namespace qc
