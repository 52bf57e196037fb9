// Sounding notes from held piano keys without writing them. Holding several
// keys behaves like a monophonic keyboard: releasing the most recent one
// falls back to the previous key still held.
#pragma once

#include <cstdint>

// Sounds the note on the cursor's track; key repeats and the PCM track do nothing.
void startPreview(int32_t sym, int note);
void endPreview(int32_t sym);
