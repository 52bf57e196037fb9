// A 44100 Hz mono 16-bit WAV file written in pieces, for the render commands.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

#include "playback/audio_output.h"

// The most samples one append() may add.
inline constexpr int kWavMostAppended = 64;

class WavFile {
 public:
  explicit WavFile(const std::string& path) {
    SF_INFO info{};
    info.samplerate = kOutputRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  }
  ~WavFile() {
    if (file_) sf_close(file_);
  }
  WavFile(const WavFile&) = delete;
  WavFile& operator=(const WavFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // Room for the next count samples, which the caller fills before append.
  int16_t* next() { return pending_.data() + used_; }
  bool append(int count) {
    used_ += count;
    return used_ + kWavMostAppended <= kWriteSamples || flush();
  }
  // Writes what is pending and the header; false when the file is incomplete.
  bool close() {
    const bool flushed = flush();
    const int result = sf_close(file_);
    file_ = nullptr;
    return flushed && result == 0;
  }
  std::string error() const { return sf_strerror(file_); }

 private:
  bool flush() {
    const bool ok = sf_write_short(file_, pending_.data(), used_) == used_;
    used_ = 0;
    return ok;
  }

  SNDFILE* file_ = nullptr;
  // libsndfile writes through at once: collect pieces into fewer, larger writes.
  static constexpr int kWriteSamples = 64 * 1024;
  static_assert(kWriteSamples % kWavMostAppended == 0);
  std::vector<int16_t> pending_ = std::vector<int16_t>(kWriteSamples);
  int used_ = 0;
};

// Appends all of `samples`; false when the file cannot take them.
bool appendAll(WavFile& wav, const std::vector<int16_t>& samples);
