// --export-nes: the song as a VRC6 cartridge image with its player.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runExportNes(int argc, char** argv);

}  // namespace qc
