#include "playback/step_synth.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <numbers>

namespace qc {

namespace {

constexpr double kHarmonics = 4096;  // of the wide band-limited impulse
constexpr int kHalfKernelMax = (kWideKernel - 2) * 16;

}  // namespace

StepSynth::StepSynth(int width) : width_(width) {
  assert(width == kWideKernel || width == kNarrowKernel);
}

void StepSynth::setVolume(double volume) {
  if (volume == volume_) return;
  if (equaliserPending_) {
    generateKernel();
    equaliserPending_ = false;
  }
  volume_ = volume;
  unit_ = int32_t(std::floor(volume * 65536 + 0.5));
  scaleKernel();
}

void StepSynth::setSampleRate(int32_t rate) {
  if (rate == equaliser_.sampleRate) return;
  equaliser_.sampleRate = rate;
  equaliserPending_ = true;
  const double volume = volume_;
  volume_ = -1;
  if (volume != -1) setVolume(volume);
}

// Half of a symmetric impulse, synthesised as a sum of harmonics whose
// treble falls off above the rolloff; then integrated over each sample.
void StepSynth::generateKernel() {
  const double treble = std::max(std::pow(10.0, equaliser_.trebleDb / 20), 5e-6);
  const double cutoff = 2 * equaliser_.rolloffHz / equaliser_.sampleRate;
  assert(cutoff < 0.95);
  const double a = kHarmonics * cutoff;
  const double r = std::pow(treble, 1 / (kHarmonics - a));
  const double p = std::pow(r, kHarmonics - a);

  const int n = (width_ - 2) * 16;
  std::array<float, kHalfKernelMax> half{};
  double sum = 0;
  for (int i = n - 1; i >= 0; --i) {
    const double angle = (2 * i + 1) * std::numbers::pi / 262144;
    const double cosAngle = std::cos(angle);
    const double d = 2 - 2 * cosAngle;
    const double e = 1 - cosAngle - std::cos(a * angle) + std::cos((a - 1) * angle);
    const double q = r * r - 2 * r * cosAngle + 1;
    const double b = r * p * std::cos(4095 * angle) - p * std::cos(4096 * angle) -
                     r * std::cos((a - 1) * angle) + std::cos(a * angle);
    half[i] = float(e / d + b / q);
    sum += half[i];
  }

  const double scale = kRest / sum;
  for (int phase = 0; phase < kGeneratedPhases; ++phase) {
    for (int tap = -width_ / 2; tap < width_ / 2; ++tap) {
      double area = 0;
      for (int m = kKernelPhases - 1; m >= 0; --m) {
        int j = kKernelPhases * tap + (kKernelPhases - phase) + m;
        if (j < 0) j = -j - 1;  // the impulse is symmetric
        if (j < n) area += half[j];
      }
      phases_[phase * width_ + tap + width_ / 2] = uint16_t(std::floor(kRest + 0.5 + scale * area));
    }
  }
}

void StepSynth::scaleKernel() {
  const int w = width_;
  const int32_t u = unit_;
  for (int phase = 0; phase < kGeneratedPhases; ++phase) {
    uint16_t* out = &table_[phase * w];
    int32_t error = u;
    for (int tap = 0; tap < w; ++tap) {
      const int32_t y = (int32_t(phases_[phase * w + tap]) * u + (u + 1) * kRest) >> 15;
      error -= y - u;
      out[tap] = uint16_t(y);
    }
    // Rounding error goes to the middle so that each phase adds exactly u.
    out[w / 2 - 1] = uint16_t(out[w / 2 - 1] + error);
  }
  // Phases 17..31 mirror 15..1; the odd half repeats the even half one entry later.
  for (int i = 0; i < 15 * w - 1; ++i) table_[17 * w + i] = table_[16 * w - 2 - i];
  table_[32 * w - 1] = uint16_t(u);
  table_[32 * w] = uint16_t(u);
  std::copy_n(table_.begin(), 32 * w - 1, table_.begin() + 32 * w + 1);

  for (int i = 0; i < kKernelRows * w / 2; ++i) {
    uint32_t pair;
    std::memcpy(&pair, &table_[2 * i], sizeof pair);
    pairs_[i] = pair - 0x10001u * uint32_t(u);
  }
}

}  // namespace qc
