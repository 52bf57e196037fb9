#include "export/nsf_export.h"

#include "export/nsf_layout.h"
#include "song/safe_file.h"

std::optional<std::vector<uint8_t>> compileNsf(const Song& song, const CompileReport& report) {
  SongStreams streams;
  if (!compileSong(song, streams, report)) return std::nullopt;
  return buildNsfFile(streams, prepareSamples(song.samples, song.ntsc),
                      {song.instrumentNames[1], song.instrumentNames[2], song.instrumentNames[3]}, song.ntsc);
}

bool exportNsf(const Song& song, const std::string& path, const CompileReport& report) {
  std::optional<std::vector<uint8_t>> file = compileNsf(song, report);
  return file && writeFileSafely(path, *file);
}
