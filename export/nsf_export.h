// The NSF export of the song (File > Export NSF and --export-nsf).
#pragma once

#include <string>

// Compiles app.song and writes it as an NSF file at path, through a
// temporary file and a rename. False when the song breaks a limit of the
// format or the file cannot be written; then no file is left behind (an old
// one at path stays as it was) and playback goes on as before. On success
// playback is stopped. Audio is paused and locked while the song compiles.
bool exportNsf(const std::string& path);
