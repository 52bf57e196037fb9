// The song as an audio file (WAV, FLAC, Ogg Vorbis): played from the top on
// a player and engine of its own, so whatever plays meanwhile goes on. The
// intro plays once, then the loop `loops` times, then a fade; or a fixed
// length. With stems, each chip channel goes into a file of its own, mixed as
// it sounds alone. The metronome is never heard.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/sound_file.h"
#include "playback/clock_rates.h"
#include "song/song.h"

namespace qc {

// What the editor's audio export asks for; the fade is also the NSFe's.
inline constexpr int kEditorExportLoops = 2;
inline constexpr double kExportFadeSeconds = 5.0;
// Longer renders would not fit a WAV file at 24 bits and 48000 Hz.
inline constexpr double kLongestAudioExportSeconds = 6 * 3600.0;
inline constexpr int32_t kHighOutputRate = 48000;

struct AudioExportOptions {
  int loops = 1;
  double fadeSeconds = 0.0;  // linear in amplitude down to silence, after the loops
  double seconds = 0.0;      // a fixed length instead, the fade within it; 0: by loops
  int32_t sampleRate = kOutputRate;  // kOutputRate or kHighOutputRate
  int bits = 16;                     // 16 or 24
  bool stems = false;
};

struct AudioExportPlan {
  int64_t samples = 0;      // per file
  int64_t fadeSamples = 0;  // the last ones, fading
  bool looped = true;       // false: the song never came back before the cap
  bool stalled = false;     // by speed 0
};

// How long the export of the song will be.
AudioExportPlan planAudioExport(const Song& song, const AudioExportOptions& options);

// The files an export to path writes: path itself, or with stems
// NAME-pulse1.EXT, NAME-pulse2, NAME-triangle, NAME-noise and NAME-pcm.
std::vector<std::string> audioExportPaths(const std::string& path, bool stems);

// Told the share of the samples done, 0 to 1, every few thousand samples.
using ExportProgress = std::function<void(double done)>;

// Writes the files through the safe writer: each is the new file or the old
// one, never a torn one. False, with errno, when a file can't be written or
// the path has no audio extension.
bool exportAudio(const Song& song, const std::string& path, const AudioExportOptions& options,
                 const AudioExportPlan& plan, const ExportProgress& progress = {});

}  // namespace qc
