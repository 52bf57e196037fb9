#include "cli/trace_command.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command_support.h"
#include "playback/loop_point.h"
#include "playback/player.h"
#include "playback/song_length.h"

namespace qc {

namespace {

constexpr const char* kUsage = "--trace MODULE [--ticks N]";
constexpr long kMaxTicks = 100'000'000;

}  // namespace

int runTrace(int argc, char** argv) {
  if (argc != 2 && argc != 4) return usageError(kUsage);
  long ticks = 0;
  if (argc == 4) {
    char* end = nullptr;
    ticks = std::strtol(argv[3], &end, 10);
    if (std::string(argv[2]) != "--ticks" || *end != '\0' || ticks <= 0 || ticks > kMaxTicks)
      return usageError(kUsage);
  }
  const std::string modulePath = argv[1];
  ParsedModule module;
  if (!readModuleArgument(modulePath, module)) return 1;

  PlayerOptions options;
  options.capture = true;
  Player p(*module.song, nullptr, options);
  startSong(p);
  LoopPointFinder loop(p.playOrder, p.playRow);
  const long limit = ticks != 0 ? ticks : renderCapTicks(module.song->ntsc);
  long done = 0;
  bool looped = false;
  while (done < limit && !looped) {
    const int32_t order = p.playOrder, row = p.playRow, tick = p.playTick;
    playerFrame(p);
    std::printf("%d %d %d", order, row, tick);
    for (int32_t value : p.capture.field) std::printf(" %d", value);
    std::printf("\n");
    ++done;
    looped = ticks == 0 && loop.entered(p.playOrder, p.playRow) && loop.looped();
  }
  if (ticks == 0 && !looped)
    std::fprintf(stderr, "quillchanter: %s: %s; stopped after %d minutes\n", modulePath.c_str(),
                 p.speed == 0 ? "speed 0 holds the song on one row" : "no loop point reached",
                 kRenderCapSeconds / 60);
  return finishStandardOutput();
}

}  // namespace qc
