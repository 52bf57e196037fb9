// The adaptive delay after each frame that holds the redraw rate near 25
// frames per second: once a second the delay moves by one millisecond.
#pragma once

#include <cstdint>

namespace qc {

inline constexpr int kTargetFrameRate = 25;
inline constexpr uint32_t kPacingWindowMs = 1000;

struct FramePacing {
  int32_t frames = 0;       // frames drawn in the current counting window
  int32_t delayMs = 25;     // no upper bound; never adjusted below 0
  uint32_t windowStart = 0;  // ticks
};

// Counts one frame drawn at tick now and returns the delay to wait after it.
int32_t paceFrame(FramePacing& pacing, uint32_t now);

}  // namespace qc
