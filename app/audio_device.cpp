#include "app/audio_device.h"

#include <SDL.h>

#include "editor/live_player.h"
#include "playback/clock_rates.h"

namespace qc {

namespace {

constexpr Uint16 kDeviceBufferSamples = 4096;

}  // namespace

void openAudio() {
  SDL_AudioSpec wanted{};
  wanted.freq = kOutputRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 1;
  wanted.samples = kDeviceBufferSamples;
  wanted.callback = audioCallback;
  // No obtained format: SDL converts to this one if the card wants another.
  // A failure leaves no device; the callback then never runs.
  SDL_OpenAudio(&wanted, nullptr);
  SDL_PauseAudio(0);
}

void audioCallback(void*, uint8_t* stream, int length) {
  fillLiveAudio(reinterpret_cast<int16_t*>(stream), length / 2);
}

}  // namespace qc
