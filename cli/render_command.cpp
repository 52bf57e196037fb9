#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/wav_file.h"
#include "cli/loop_point.h"
#include "cli/command_support.h"
#include "playback/audio_output.h"
#include "playback/channel_update.h"
#include "playback/player.h"
#include "song/app_state.h"

namespace {

constexpr const char* kUsage = "--render MODULE OUT.wav [--seconds S]";
// Well under one frame (819 samples in NTSC), so no row advance goes unseen.
constexpr int kChunkSamples = kWavMostAppended;
constexpr double kMaxSeconds = 12 * 3600.0;  // 16-bit mono WAV stays far below 4 GB
constexpr int kProgressEverySeconds = 10;

// As the editor starts up with the module and then plays it from the top.
void playFromTheTop() {
  resetPlayer();
  playerSubStep();  // the audio thread carries out the load's requests first
  app.editor.orderCursor = 0;
  app.editor.repeatBlock = false;
  app.player.speed = 6;
  app.player.tempo = 125;
  playSong();
}
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
  if (!loadModuleArgument(modulePath)) return 1;

  initAudioEngine();
  playFromTheTop();
  WavFile wav(outPath);
  if (!wav.isOpen()) {
    std::fprintf(stderr, "quillchanter: %s: cannot write: %s\n", outPath.c_str(), wav.error().c_str());
    return 1;
  }

  const bool untilLoop = seconds == 0.0;
  const int64_t limit = std::llround((untilLoop ? kRenderCapSeconds : seconds) * kOutputRate);
  const bool showProgress = isatty(fileno(stderr));
  LoopPointFinder loop(app.player.playOrder, app.player.playRow);
  bool looped = false;
  int64_t stopAt = limit;
  int64_t written = 0;
  while (written < stopAt) {
    const int count = int(std::min<int64_t>(kChunkSamples, stopAt - written));
    fillAudio(wav.next(), count);
    if (!wav.append(count)) {
      std::fprintf(stderr, "quillchanter: %s: cannot write: %s\n", outPath.c_str(), wav.error().c_str());
      return 1;
    }
    written += count;
    if (untilLoop && !looped && loop.reached(app.player.playOrder, app.player.playRow)) {
      // The tick that reached the loop point is the song's last: play it out.
      looped = true;
      stopAt = std::min<int64_t>(limit, written + std::llround(kOutputRate / framesPerSecond() - kChunkSamples / 2.0));
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
                 app.player.speed == 0 ? "speed 0 holds the song on one row" : "no loop point reached",
                 kRenderCapSeconds / 60);
  std::printf("%s: %.2f seconds\n", outPath.c_str(), double(written) / kOutputRate);
  return 0;
}
