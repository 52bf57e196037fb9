// Recordings (anything libsndfile reads: WAV, Ogg Vorbis, FLAC ...) turned
// into a raw sample: a mono mix, point-sampled at 7801 Hz (the rate the
// player streams levels to $4011) and scaled to the DAC levels 1..127
// around the centre 64.
#pragma once

#include <sndfile.h>

#include <string>
#include <string_view>

namespace qc {

inline constexpr double kRawSampleRate = 7801.0;
inline constexpr int kLevelScale = 63;
inline constexpr int kLevelCentre = 64;

// Reads the recording into `currentSample` under the audio lock, as a
// non-looping sample named after the file. False, with the slot untouched,
// when the file cannot be opened, is no regular file, would give more than
// kMaxSampleLength levels, or no slot is selected. A recording too
// short for one level leaves the slot named but without data.
bool importRawSample(const std::string& path);

// The same for a recording libsndfile has opened (from a file or from
// memory through its virtual I/O); the caller closes it.
bool importOpenRecording(SNDFILE* file, const SF_INFO& info, const std::string& name);

// A decoded value as the mix uses it: within -1..1, NaN as silence.
double validLevelValue(double value);

// The characters after the last '/' or '\'.
std::string sampleNameFromPath(std::string_view path);

}  // namespace qc
