#include "export/nsf_export.h"

#include "export/nsf_layout.h"
#include "export/song_compiler.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/safe_file.h"
#include "song/shell_services.h"

std::optional<std::vector<uint8_t>> compileNsf() {
  ExportSession session;
  SongStreams streams;
  if (!compileSong(streams)) return std::nullopt;
  const Song& song = app.song;
  return buildNsfFile(streams, prepareSamples(song.samples, song.ntsc),
                      {song.instrumentNames[1], song.instrumentNames[2], song.instrumentNames[3]}, song.ntsc);
}

bool exportNsf(const std::string& path) {
  std::optional<std::vector<uint8_t>> file = compileNsf();
  if (!file || !writeFileSafely(path, *file)) return false;
  // The simulation drove the sequencer: playback does not resume after it.
  if (app.player.playing) stopPlayback();
  AudioLock lock;
  app.player.sequencerRunning = false;
  app.player.silenceRequest = true;
  return true;
}
