#include "export/nsf_export.h"

#include <cmath>

#include "export/audio_export.h"
#include "export/nsf_layout.h"
#include "export/nsfe_file.h"
#include "playback/player_tables.h"
#include "song/safe_file.h"

namespace qc {

namespace {

std::optional<std::vector<uint8_t>> nsfOf(const Song& song, const SongStreams& streams) {
  return buildNsfFile(streams, prepareSamples(song.samples, song.ntsc),
                      {song.instrumentNames[1], song.instrumentNames[2], song.instrumentNames[3]}, song.ntsc);
}

}  // namespace

std::optional<std::vector<uint8_t>> compileNsf(const Song& song, const CompileReport& report) {
  SongStreams streams;
  if (!compileSong(song, streams, report)) return std::nullopt;
  return nsfOf(song, streams);
}

std::optional<std::vector<uint8_t>> compileNsfe(const Song& song, const CompileReport& report) {
  SongStreams streams;
  if (!compileSong(song, streams, report)) return std::nullopt;
  const std::optional<std::vector<uint8_t>> nsf = nsfOf(song, streams);
  if (!nsf) return std::nullopt;
  // The song's own frame rate: the length a render of the song has.
  const double seconds = double(passTicks(streams, 0)) / framesPerSecond(song.ntsc);
  return buildNsfeFile(*nsf, {int32_t(std::lround(seconds * 1000)), int32_t(kExportFadeSeconds * 1000)});
}

bool exportNsf(const Song& song, const std::string& path, const CompileReport& report) {
  std::optional<std::vector<uint8_t>> file = compileNsf(song, report);
  return file && writeFileSafely(path, *file);
}

bool exportNsfe(const Song& song, const std::string& path, const CompileReport& report) {
  std::optional<std::vector<uint8_t>> file = compileNsfe(song, report);
  return file && writeFileSafely(path, *file);
}

}  // namespace qc
