// How long a song plays from the top: the intro once, then the loop a number
// of times, by the loop-point rule of LoopPointFinder (the song compiler's).
#pragma once

#include <cstdint>

#include "song/song.h"

namespace qc {

// Renders and traces of a song that never loops (speed 0) end here.
inline constexpr int kRenderCapSeconds = 20 * 60;

struct SongSpan {
  int64_t ticks = 0;    // player frames from the top to the end of the last loop
  bool looped = false;  // false: the cap came first
  bool stalled = false;  // not looped because speed 0 holds the song on one row
  int64_t introTicks = 0;  // player frames before the loop point, once looped
};

// Plays the song silently from the top, as the song compiler does, until the
// intro and `loops` passes through the loop have played, or capTicks.
SongSpan ticksThroughLoops(const Song& song, int loops, int64_t capTicks);

// The cap of kRenderCapSeconds in player frames.
int64_t renderCapTicks(bool ntsc);
// Output samples from the top to the start of the tick: the player frame is
// kFrameClocks at the standard's clock rate.
int64_t samplesForTicks(int64_t ticks, bool ntsc, int32_t sampleRate);

}  // namespace qc
