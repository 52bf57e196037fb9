#include "playback/note_tables.h"

#include <cmath>

namespace qc {

namespace {
constexpr double kLowestNoteHz = 32.7;
constexpr double kSinglePrecisionPi = 3.1415927410125732;
}  // namespace

int32_t notePeriod(double cpuClock, int note) {
  return int32_t(cpuClock / 16.0 / (kLowestNoteHz * std::pow(2.0, (note - 1) / 12.0)));
}

int32_t vibratoWaveValue(int index) {
  const int step = index & 31;
  return (step < 16 ? step : 31 - step) * 16;
}

int32_t vibratoAmplitude(int phase, int depth) {
  // Single precision, as the table was first computed.
  const float x = float(phase * kSinglePrecisionPi / 32.0);
  const float s = float(std::sin(double(x)));
  return int32_t(depth * 2 * s);
}

}  // namespace qc
