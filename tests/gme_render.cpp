#include "tests/gme_render.h"

#include <gme/gme.h>

#include <cmath>

std::vector<int16_t> renderWithGme(const std::vector<uint8_t>& nsf, double seconds) {
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

namespace {

double mean(const std::vector<int16_t>& samples, size_t from) {
  double sum = 0;
  for (size_t i = from; i < samples.size(); i++) sum += samples[i];
  return samples.size() > from ? sum / double(samples.size() - from) : 0.0;
}

}  // namespace

double zeroCrossingFrequency(const std::vector<int16_t>& samples, size_t from) {
  double m = mean(samples, from);
  int crossings = 0;
  for (size_t i = from + 1; i < samples.size(); i++)
    if ((samples[i - 1] < m) != (samples[i] < m)) crossings++;
  return crossings / 2.0 / (double(samples.size() - from) / kGmeRate);
}

double acLevel(const std::vector<int16_t>& samples, size_t from) {
  double m = mean(samples, from), sum = 0;
  for (size_t i = from; i < samples.size(); i++) sum += (samples[i] - m) * (samples[i] - m);
  return samples.size() > from ? std::sqrt(sum / double(samples.size() - from)) : 0.0;
}
