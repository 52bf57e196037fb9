#include "playback/audio_output.h"

namespace {
int32_t writeTime = 0;
RegisterWriteObserver writeObserver = nullptr;
}  // namespace

void apuWrite(uint32_t address, uint8_t value) {
  writeTime += 4;
  if (writeObserver) writeObserver(address, value, writeTime);
}

void endSubStep() { writeTime = 0; }

void setRegisterWriteObserver(RegisterWriteObserver observer) { writeObserver = observer; }
