// Renders NSF files with Game Music Emu, an NSF player independent of ours,
// and the measures the tests hold renders against each other by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qc {

inline constexpr int kGmeRate = 44100;

// Mono samples of the first `seconds` of track 1; empty when gme rejects
// the file.
std::vector<int16_t> renderWithGme(const std::vector<uint8_t>& nsf, double seconds);
// The mean, over 100 ms windows of `a`, of the cosine similarity of their
// note spectra (96 semitones from 32.7 Hz) with those of `b` `delay` samples
// later; both at kGmeRate.
double spectralSimilarity(const std::vector<int16_t>& a, const std::vector<int16_t>& b, size_t delay);

}  // namespace qc
