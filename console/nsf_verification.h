// Plays an NSF export on the console and holds every driver tick against
// the editor's reference: the register writes of the tick's record, the tick
// lengths (33260 and 33261 cycles in turn, the first DAC write kNsfPlayWait
// cycles after play starts), the DAC cadence (156 writes a tick, 213 or 214
// cycles apart) and the sample bytes.
#pragma once

#include <string>

#include "console/reference_ticks.h"
#include "song/song.h"

namespace qc {

struct VerificationResult {
  bool equal = false;
  std::string line;  // "nsf: 2316 ticks, ..." or the first difference
};

// Plays every reference tick, then the ticks from the loop tick on once
// more (at most `afterLoop` of them), so the loop itself is checked.
VerificationResult verifyNsf(const NsfReference& reference, const std::array<RawSample, kSampleSlots>& samples,
                             bool ntsc, size_t afterLoop);

}  // namespace qc
