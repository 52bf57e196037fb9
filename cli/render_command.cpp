#include "cli/render_command.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_support.h"
#include "cli/wav_file.h"
#include "playback/clock_rates.h"
#include "playback/loop_point.h"
#include "playback/player.h"

namespace {

constexpr const char* kUsage = "--render MODULE OUT.wav [--seconds S]";
// Well under one frame (819 samples in NTSC), so no row advance goes unseen.
constexpr int kChunkSamples = kWavMostAppended;
constexpr double kMaxSeconds = 12 * 3600.0;  // 16-bit mono WAV stays far below 4 GB
constexpr int kProgressEverySeconds = 10;

}  // namespace

int runRender(int argc, char** argv) {
  if (argc != 3 && argc != 5) return usageError(kUsage);
  double seconds = 0.0;
  if (argc == 5) {
    char* end = nullptr;
    seconds = std::strtod(argv[4], &end);
    if (std::string(argv[3]) != "--seconds" || *end != '\0' || !(seconds > 0.0 && seconds <= kMaxSeconds))
      return usageError(kUsage);
  }
  const std::string modulePath = argv[1], outPath = argv[2];
  ParsedModule module;
  if (!readModuleArgument(modulePath, module)) return 1;
  const Song& song = *module.song;

  Engine engine(song.ntsc);
  Player player(song, &engine);
  startSong(player);
  WavFile wav(outPath);
  if (!wav.isOpen()) {
    std::fprintf(stderr, "quillchanter: %s: cannot write: %s\n", outPath.c_str(), wav.error().c_str());
    return 1;
  }

  const bool untilLoop = seconds == 0.0;
  const int64_t limit = std::llround((untilLoop ? kRenderCapSeconds : seconds) * kOutputRate);
  const bool showProgress = isatty(fileno(stderr));
  LoopPointFinder loop(player.playOrder, player.playRow);
  bool looped = false;
  int64_t stopAt = limit;
  int64_t written = 0;
  while (written < stopAt) {
    const int count = int(std::min<int64_t>(kChunkSamples, stopAt - written));
    fillAudio(engine, &player, wav.next(), count);
    if (!wav.append(count)) {
      std::fprintf(stderr, "quillchanter: %s: cannot write: %s\n", outPath.c_str(), wav.error().c_str());
      return 1;
    }
    written += count;
    if (untilLoop && !looped && loop.entered(player.playOrder, player.playRow) && loop.looped()) {
      // The tick that reached the loop point is the song's last: play it out.
      looped = true;
      const double frameSamples = kOutputRate / framesPerSecond(song.ntsc);
      stopAt = std::min<int64_t>(limit, written + std::llround(frameSamples - kChunkSamples / 2.0));
    }
    if (showProgress && written % (kProgressEverySeconds * kOutputRate) < count)
      std::fprintf(stderr, "\rquillchanter: rendered %lld s", static_cast<long long>(written / kOutputRate));
  }
  if (showProgress) std::fprintf(stderr, "\n");
  if (!wav.close()) {
    std::fprintf(stderr, "quillchanter: %s: cannot write the file\n", outPath.c_str());
    return 1;
  }
  if (untilLoop && !looped)
    std::fprintf(stderr, "quillchanter: %s: %s; stopped after %d minutes\n", modulePath.c_str(),
                 player.speed == 0 ? "speed 0 holds the song on one row" : "no loop point reached",
                 kRenderCapSeconds / 60);
  std::printf("%s: %.2f seconds\n", outPath.c_str(), double(written) / kOutputRate);
  return 0;
}
