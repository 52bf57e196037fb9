#include "export/nsf_export.h"

#include "export/nsf_layout.h"
#include "export/song_compiler.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/safe_file.h"
#include "song/shell_services.h"

bool exportNsf(const std::string& path) {
  bool written = false;
  {
    ExportSession session;
    SongStreams streams;
    if (compileSong(streams)) {
      const Song& song = app.song;
      auto file = buildNsfFile(streams, prepareSamples(song.samples, song.ntsc),
                               {song.instrumentNames[1], song.instrumentNames[2], song.instrumentNames[3]}, song.ntsc);
      written = file && writeFileSafely(path, *file);
    }
  }
  if (!written) return false;
  // The simulation drove the sequencer: playback does not resume after it.
  if (app.player.playing) stopPlayback();
  AudioLock lock;
  app.player.sequencerRunning = false;
  app.player.silenceRequest = true;
  return true;
}
