// Plays a cartridge export on the console and holds every frame against the
// editor's reference (reference_ticks.h): the APU writes of the frame but
// $4011 in their order, and the bytes the timer interrupt streams to $4011,
// which must be each started sample's data from its first byte on, looping
// or stopping at its end, until the next start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/nsf_verification.h"
#include "console/reference_ticks.h"

namespace qc {

VerificationResult verifyCartridge(const std::vector<uint8_t>& image, const std::vector<CartridgeFrame>& reference,
                                   const std::array<RawSample, kSampleSlots>& samples, bool pal);

// One "nes: by design, ..." line for each way in which the cartridge means
// to sound unlike the editor on these frames: the NTSC console's frame rate
// for the per-frame effects, and looping samples that start again at their
// end byte.
std::vector<std::string> cartridgeDesignDifferences(const std::vector<CartridgeFrame>& reference,
                                                    const std::array<RawSample, kSampleSlots>& samples, bool pal);

}  // namespace qc
