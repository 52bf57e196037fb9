// Renders NSF files with Game Music Emu, an NSF player independent of ours,
// and the measures the tests hold renders against each other by.
#pragma once

#include <gme/gme.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

namespace qc {

inline constexpr int kGmeRate = 44100;

// Mono samples of the first `seconds` of track 1; empty when gme rejects
// the file.
inline std::vector<int16_t> renderWithGme(const std::vector<uint8_t>& nsf, double seconds) {
  Music_Emu* emu = nullptr;
  if (gme_open_data(nsf.data(), long(nsf.size()), &emu, kGmeRate)) return {};
  gme_ignore_silence(emu, 1);
  std::vector<int16_t> mono;
  if (!gme_start_track(emu, 0)) {
    std::vector<short> stereo(size_t(seconds * kGmeRate) * 2);
    if (!gme_play(emu, int(stereo.size()), stereo.data()))
      for (size_t i = 0; i < stereo.size(); i += 2) mono.push_back(int16_t((stereo[i] + stereo[i + 1]) / 2));
  }
  gme_delete(emu);
  return mono;
}

// Power at the 96 note frequencies from 32.7 Hz (Goertzel), over a window.
inline std::vector<double> noteSpectrum(const std::vector<int16_t>& s, size_t from, size_t count) {
  std::vector<double> powers;
  for (int n = 0; n < 96; n++) {
    const double k = 2 * std::cos(2 * std::numbers::pi * 32.7 * std::pow(2.0, n / 12.0) / kGmeRate);
    double a = 0, b = 0;
    for (size_t i = from; i < from + count; i++) {
      const double c = s[i] + k * a - b;
      b = a;
      a = c;
    }
    powers.push_back(std::sqrt(std::max(0.0, a * a + b * b - k * a * b)));
  }
  return powers;
}

// The mean, over 100 ms windows of `a`, of the cosine similarity of their
// note spectra with those of `b` `delay` samples later; both at kGmeRate.
inline double spectralSimilarity(const std::vector<int16_t>& a, const std::vector<int16_t>& b, size_t delay) {
  constexpr size_t kWindow = kGmeRate / 10;
  double sum = 0;
  int windows = 0;
  for (size_t at = 0; at + kWindow <= a.size() && delay + at + kWindow <= b.size(); at += kWindow) {
    const std::vector<double> x = noteSpectrum(a, at, kWindow), y = noteSpectrum(b, delay + at, kWindow);
    double xy = 0, xx = 0, yy = 0;
    for (size_t i = 0; i < x.size(); ++i) xy += x[i] * y[i], xx += x[i] * x[i], yy += y[i] * y[i];
    sum += xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : (xx == yy ? 1 : 0);
    ++windows;
  }
  return windows ? sum / windows : 0;
}

}  // namespace qc
