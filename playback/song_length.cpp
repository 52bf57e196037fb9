#include "playback/song_length.h"

#include <cmath>
#include <vector>

#include "playback/clock_rates.h"
#include "playback/loop_point.h"
#include "playback/player_tables.h"
#include "playback/sequencer.h"

namespace qc {

SongSpan ticksThroughLoops(const Song& song, int loops, int64_t capTicks) {
  Player player(song, nullptr);
  startSong(player);
  LoopPointFinder loop(player.playOrder, player.playRow);
  std::vector<int64_t> entryTicks{0};  // when each new order pass began
  int32_t loopKey = -1;
  int loopsPlayed = 0;
  int64_t introTicks = 0;
  for (int64_t tick = 1; tick <= capTicks; ++tick) {
    playerFrame(player);
    if (!loop.entered(player.playOrder, player.playRow)) continue;
    if (!loop.looped()) {
      entryTicks.push_back(tick);
      continue;
    }
    const int32_t key = player.playOrder * 256 + player.playRow;
    if (loopKey == -1) {
      // The first repeated entry ends the first loop; the intro ended where it began.
      introTicks = entryTicks[size_t(loop.loopPoint())];
      if (loops == 0) return {introTicks, true, false, introTicks};
      loopKey = key;
    }
    if (key == loopKey && ++loopsPlayed == loops) return {tick, true, false, introTicks};
  }
  return {capTicks, false, player.speed == 0};
}

int64_t renderCapTicks(bool ntsc) { return std::llround(kRenderCapSeconds * framesPerSecond(ntsc)); }

int64_t samplesForTicks(int64_t ticks, bool ntsc, int32_t sampleRate) {
  return std::llround(double(ticks) * kFrameClocks * sampleRate / chipClockRate(ntsc));
}

}  // namespace qc
