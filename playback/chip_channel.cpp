#include "playback/chip_channel.h"

namespace qc {

void clockEnvelope(ChipChannel& channel, VolumeEnvelope& envelope) {
  const int32_t period = channel.regs[0] & 15;
  if (channel.written[3]) {
    channel.written[3] = false;
    envelope.divider = period;
    envelope.volume = 15;
  } else if (--envelope.divider < 0) {
    envelope.divider = period;
    // At 0 the envelope wraps to 15 only in loop mode (bit 5).
    if (envelope.volume || (channel.regs[0] & 0x20)) envelope.volume = (envelope.volume - 1) & 15;
  }
}

}  // namespace qc
