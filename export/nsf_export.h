// The NSF export of the song (File > Export NSF and --export-nsf).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The NSF file of app.song, or nothing when the song breaks a limit of the
// format or never reaches its loop point. Audio stays paused and locked while
// the song compiles; the player state is put back afterwards.
std::optional<std::vector<uint8_t>> compileNsf();

// compileNsf, then a write through a temporary file and a rename. False when
// there is no file or it cannot be written: no file is left behind (an old
// one at path stays as it was) and playback goes on as before. On success
// playback is stopped.
bool exportNsf(const std::string& path);
