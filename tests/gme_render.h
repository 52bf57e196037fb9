// Renders NSF files with Game Music Emu, an NSF player independent of ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int kGmeRate = 44100;

// Mono samples of the first `seconds` of track 1; empty when gme rejects
// the file.
std::vector<int16_t> renderWithGme(const std::vector<uint8_t>& nsf, double seconds);
// Frequency of the strongest periodic component, from zero crossings of the
// signal around its mean.
double zeroCrossingFrequency(const std::vector<int16_t>& samples, size_t from);
// Root mean square around the mean.
double acLevel(const std::vector<int16_t>& samples, size_t from);
