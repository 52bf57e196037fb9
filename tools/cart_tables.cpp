// Writes the cartridge player's lookup tables as ca65 source, from the
// editor's own table functions:
//   PERIODS_PAL, PERIODS_NTSC  97 words by note number; entry 0 is 31337
//   VIBRATO_WAVE               64 phase indices times 16
//   VIBRATO_TABLE              256 amplitudes, index phase x 16 + depth
//   VOLUME_TABLE               256 output volumes, index volume x 16 + envelope
// Usage: cart_tables OUT.inc
#include <cstdio>
#include <vector>

#include "playback/clock_rates.h"
#include "playback/note_tables.h"

namespace qc {

namespace {

constexpr int kPeriods = 97;
constexpr int kNoPeriod = 31337;  // entry 0: clamps to the lowest pitch

std::vector<int> periods(double clock) {
  std::vector<int> table(kPeriods);
  table[0] = kNoPeriod;
  for (int n = 1; n < kPeriods; ++n) table[n] = notePeriod(clock, n);
  return table;
}

std::vector<int> vibratoWave() {
  std::vector<int> wave(64);
  for (int i = 0; i < 64; ++i) wave[i] = vibratoWaveValue(i);
  return wave;
}

std::vector<int> vibratoTable() {
  std::vector<int> table(256);
  for (int phase = 0; phase < 16; ++phase)
    for (int depth = 0; depth < 16; ++depth) table[phase * 16 + depth] = vibratoAmplitude(phase, depth);
  return table;
}

std::vector<int> volumeTable() {
  std::vector<int> table(256);
  for (int volume = 0; volume < 16; ++volume)
    for (int envelope = 0; envelope < 16; ++envelope) table[volume * 16 + envelope] = volume * envelope / 15;
  return table;
}

void emit(std::FILE* f, const char* name, const char* directive, const std::vector<int>& values) {
  std::fprintf(f, "%s:\n", name);
  for (size_t i = 0; i < values.size(); i += 8) {
    std::fprintf(f, "  %s ", directive);
    for (size_t j = i; j < i + 8 && j < values.size(); ++j)
      std::fprintf(f, "%s%d", j == i ? "" : ", ", values[j]);
    std::fprintf(f, "\n");
  }
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 2) {
    std::fprintf(stderr, "usage: cart_tables OUT.inc\n");
    return 1;
  }
  std::FILE* f = std::fopen(argv[1], "w");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(f, "; Made by tools/cart_tables at build time.\n");
  std::fprintf(f, ".segment \"PERIODS\"\n");
  emit(f, "PERIODS_PAL", ".word", periods(kPalCpuClock));
  emit(f, "PERIODS_NTSC", ".word", periods(kNtscCpuClock));
  std::fprintf(f, ".segment \"TABLES\"\n");
  emit(f, "VIBRATO_WAVE", ".byte", vibratoWave());
  emit(f, "VIBRATO_TABLE", ".byte", vibratoTable());
  emit(f, "VOLUME_TABLE", ".byte", volumeTable());
  return std::fclose(f) == 0 ? 0 : 1;
}
