#include "playback/audio_output.h"

#include <algorithm>
#include <cassert>

#include "playback/clock_rates.h"
#include "playback/sequencer.h"
#include "playback/sub_step.h"

namespace qc {

namespace {
// Longest read per pass of the loop; keeps the pending samples far below the buffer's size.
constexpr int kLargestRead = 8192;
}  // namespace

void fillAudio(Engine& engine, Player* player, int16_t* destination, int count) {
  assert(!player || player->engine == &engine);
  while (count > 0) {
    const int wanted = std::min(count, kLargestRead);
    while (engine.outputReady && engine.output->samplesAvailable() < wanted) {
      if (player) {
        if (engine.subStep == 0) playerFrame(*player);
        playerSubStep(*player);
      }
      endSubStep(engine);
      if (++engine.subStep == kSubStepsPerFrame) engine.subStep = 0;
    }
    const int frame = engine.output->samplesPerFrame;
    if (!engine.outputReady) {
      std::fill_n(destination, count * frame, int16_t(0));
      return;
    }
    const int read = engine.output->readSamples(destination, wanted);
    destination += read * frame;
    count -= read;
  }
}

}  // namespace qc
