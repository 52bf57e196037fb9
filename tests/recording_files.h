// Recordings written with libsndfile for the import tests.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

namespace qc {

// Writes interleaved items; false if libsndfile refuses the format.
inline bool writeRecording(const std::string& path, int format, int rate, int channels,
                           const std::vector<double>& items) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  const sf_count_t frames = sf_count_t(items.size()) / channels;
  const bool ok = sf_writef_double(file, items.data(), frames) == frames;
  sf_close(file);
  return ok;
}

inline constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
inline constexpr int kPcm16Wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
inline constexpr int kFlac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
inline constexpr int kOggVorbis = SF_FORMAT_OGG | SF_FORMAT_VORBIS;

// The first channel's samples of a file libsndfile reads; empty when it can't.
inline std::vector<int16_t> readRecording(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<int16_t> samples(size_t(info.frames) * size_t(info.channels));
  sf_readf_short(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

}  // namespace qc
