// The sound card: SDL 1.2's audio device at 44100 Hz, signed 16-bit mono,
// fed from the live player on SDL's audio thread.
#pragma once

#include <cstdint>

namespace qc {

// Opens and starts the device. Without one the program carries on silently.
void openAudio();
// SDL's callback: length is in bytes, the stream always 16-bit mono.
void audioCallback(void* userData, uint8_t* stream, int length);

}  // namespace qc
