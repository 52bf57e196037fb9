#include "app/frame_pacing.h"

namespace qc {

int32_t paceFrame(FramePacing& pacing, uint32_t now) {
  ++pacing.frames;
  if (now - pacing.windowStart > kPacingWindowMs) {
    pacing.windowStart = now;
    if (pacing.frames > kTargetFrameRate) {
      ++pacing.delayMs;
    } else if (pacing.delayMs > 0) {
      --pacing.delayMs;
    }
    pacing.frames = 0;
  }
  return pacing.delayMs;
}

}  // namespace qc
