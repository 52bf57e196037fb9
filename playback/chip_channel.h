// What every 2A03 channel keeps, and the envelope that the pulses and the
// noise share. Times are CPU clocks within the current time slice.
#pragma once

#include <array>
#include <cstdint>

#include "playback/delta_buffer.h"

namespace qc {

// Indexed by bits 3..7 of a channel's fourth register.
inline constexpr std::array<uint8_t, 32> kLengthTable = {
    10, 254, 20, 2,  40, 4,  80, 6,  160, 8,  60, 10, 14, 12, 26, 14,
    12, 16,  24, 18, 48, 20, 96, 22, 192, 24, 72, 26, 16, 28, 32, 30};

struct ChipChannel {
  std::array<uint8_t, 4> regs{};     // as last written
  std::array<bool, 4> written{};     // register written since the unit last looked
  DeltaBuffer* output = nullptr;     // nullptr: not rendered
  int32_t runTime = 0;               // clock the channel has run to within the slice
  int32_t delay = 0;                 // clocks from the end of the last run to the next timer event
  int32_t lastAmp = 0;               // output level as last rendered
  int32_t lengthCounter = 0;

  // The 11-bit timer period of the third and fourth registers.
  int32_t period() const { return (regs[3] & 7) << 8 | regs[2]; }
  void clockLength(uint8_t haltMask) {
    if (lengthCounter && !(regs[0] & haltMask)) --lengthCounter;
  }
  int32_t updateAmp(int32_t amp) {
    const int32_t delta = amp - lastAmp;
    lastAmp = amp;
    return delta;
  }
};

struct VolumeEnvelope {
  int32_t volume = 0;   // 0..15
  int32_t divider = 0;
};

// Quarter-frame clock: restart after a fourth-register write, else decay.
void clockEnvelope(ChipChannel& channel, VolumeEnvelope& envelope);
// Constant volume (bit 4) or the envelope; 0 once the length counter ran out.
inline int32_t channelVolume(const ChipChannel& channel, const VolumeEnvelope& envelope) {
  if (channel.lengthCounter == 0) return 0;
  return (channel.regs[0] & 0x10) ? channel.regs[0] & 15 : envelope.volume;
}

}  // namespace qc
