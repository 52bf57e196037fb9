// The "Export iNES ROM" command's core: the song as a VRC6 cartridge image.
#pragma once

#include <string>

namespace qc {

// Writes app.song to `path` as an iNES file; false when the song does not fit
// the cartridge (more than 128 PRG banks) or the file cannot be written, in
// which case nothing at `path` has changed. Reads the song only, takes no lock.
bool exportRom(const std::string& path);

}  // namespace qc
