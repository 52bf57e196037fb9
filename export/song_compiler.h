// The song compiler: plays the song silently on a player of its own, from
// order 0, tick by tick, and records each tick's ExportCapture as order
// passes, until playback enters an order at a row it entered before (the
// loop point).
#pragma once

#include <functional>
#include <string>

#include "export/stream_patterns.h"
#include "song/song.h"

namespace qc {

// Receives the compiler's progress, one line at a time without its newline:
// two lines per pass and two at the loop point. The front ends print them.
using CompileReport = std::function<void(const std::string& line)>;

// False when the song breaks a limit of the format before its loop point:
// more than 255 order passes, or a pass longer than 65536 ticks (speed 0
// never leaves its row).
bool compileSong(const Song& song, SongStreams& out, const CompileReport& report = {});

}  // namespace qc
