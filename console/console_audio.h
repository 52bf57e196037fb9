// The editor's chip emulation (SoundChip into a Nonlinear_Buffer, 44100 Hz
// mono) fed with the console's register writes instead of the player's.
//
// Time: the console's writes carry CPU cycles since power-on; write() takes
// them in order, and endSlice(cycle) renders everything up to `cycle`. A
// slice should stay under a tenth of a second so the buffer never fills.
#pragma once

#include <cstdint>
#include <vector>

#include "playback/nonlinear_buffer.h"
#include "playback/sound_chip.h"

namespace qc {

class ConsoleAudio {
 public:
  // False from ready() when the output buffer could not be allocated.
  ConsoleAudio(int32_t clockRate, uint64_t startCycle);
  ConsoleAudio(const ConsoleAudio&) = delete;
  ConsoleAudio& operator=(const ConsoleAudio&) = delete;
  bool ready() const { return ready_; }

  void write(uint64_t cycle, uint16_t address, uint8_t value);
  // Closes the slice at `cycle` and appends the samples it made to `out`.
  void endSlice(uint64_t cycle, std::vector<int16_t>& out);

 private:
  SoundChip chip_;
  Nonlinear_Buffer buffer_;
  uint64_t sliceStart_;
  bool ready_ = false;
};

}  // namespace qc
