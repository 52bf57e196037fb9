// The NSF export of a song (File > Export NSF and --export-nsf).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/song_compiler.h"
#include "song/song.h"

namespace qc {

// The NSF file of the song, or nothing when the song breaks a limit of the
// format or never reaches its loop point. The song compiles on a player of
// its own: whatever plays meanwhile is not touched.
std::optional<std::vector<uint8_t>> compileNsf(const Song& song, const CompileReport& report = {});

// The NSF as an NSFe file, with the length of the intro and one loop and
// the editor's audio export fade.
std::optional<std::vector<uint8_t>> compileNsfe(const Song& song, const CompileReport& report = {});

// compileNsf, then a write through a temporary file and a rename. False when
// there is no file or it cannot be written: no file is left behind (an old
// one at path stays as it was).
bool exportNsf(const Song& song, const std::string& path, const CompileReport& report = {});
// The same for compileNsfe.
bool exportNsfe(const Song& song, const std::string& path, const CompileReport& report = {});

}  // namespace qc
