// Renders an engine of the test's own, driven by register writes alone, and
// measures what a listener would hear: pitch, duty, loudness.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "playback/audio_output.h"
#include "playback/clock_rates.h"
#include "playback/player.h"
#include "tests/song_cells.h"

namespace qc {

using Samples = std::vector<int16_t>;

class AudioTest : public ::testing::Test {
 protected:
  // A fresh engine, as the program starts one.
  void reset(bool ntsc = false) { chip = std::make_unique<Engine>(ntsc); }
  void write(uint32_t address, uint8_t value) { apuWrite(*chip, address, value); }
  // Register writes in order, as a log of (address, value).
  void write(std::initializer_list<std::pair<uint32_t, uint8_t>> log) {
    for (const auto& [address, value] : log) write(address, value);
  }
  Samples render(int count) {
    Samples out(static_cast<size_t>(count));
    fillAudio(*chip, nullptr, out.data(), count);
    return out;
  }
  Samples renderSeconds(double seconds) { return render(int(seconds * kOutputRate)); }

  // Constant volume 15, length counter halted, sweep off with negate set.
  void playPulse(int channel, int period, uint8_t duty = 2) {
    const uint32_t base = 0x4000 + 4 * uint32_t(channel);
    write({{0x4015, 0x0F}, {base, uint8_t(duty << 6 | 0x3F)}, {base + 1, 0x08}, {base + 2, uint8_t(period & 0xFF)},
           {base + 3, uint8_t(period >> 8 | 0x08)}});
  }
  void playTriangle(int period) {
    write({{0x4015, 0x0F}, {0x4008, 0xFF}, {0x400A, uint8_t(period & 0xFF)}, {0x400B, uint8_t(period >> 8 | 0x08)}});
  }
  void playNoise(int periodIndex, bool shortMode) {
    write({{0x4015, 0x0F}, {0x400C, 0x3F}, {0x400E, uint8_t((shortMode ? 0x80 : 0) | periodIndex)}, {0x400F, 0x08}});
  }

  std::unique_ptr<Engine> chip = std::make_unique<Engine>(false);
};

inline int peak(const Samples& s, size_t from = 0) {
  int result = 0;
  for (size_t i = from; i < s.size(); ++i) result = std::max(result, std::abs(int(s[i])));
  return result;
}

inline double midpoint(const Samples& s, size_t from) {
  const auto [lo, hi] = std::minmax_element(s.begin() + long(from), s.end());
  return (double(*lo) + double(*hi)) / 2;
}

// Rising crossings of the midpoint, interpolated between samples. A crossing
// counts only after the signal has been well below the midpoint, so ringing
// around a step is not taken for a cycle.
inline double frequency(const Samples& s, size_t from = 4410) {
  const auto [lo, hi] = std::minmax_element(s.begin() + long(from), s.end());
  const double mid = midpoint(s, from), armLevel = mid - (double(*hi) - double(*lo)) / 4;
  double first = -1, last = -1;
  int crossings = 0;
  bool armed = false;
  for (size_t i = from + 1; i < s.size(); ++i) {
    if (s[i] < armLevel) armed = true;
    if (armed && s[i - 1] < mid && s[i] >= mid) {
      const double at = double(i - 1) + (mid - s[i - 1]) / double(s[i] - s[i - 1]);
      if (first < 0) first = at;
      last = at;
      ++crossings;
      armed = false;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * double(kOutputRate) / (last - first);
}

inline double highFraction(const Samples& s, size_t from) {
  const double mid = midpoint(s, from);
  const auto high = std::count_if(s.begin() + long(from), s.end(), [&](int16_t v) { return v > mid; });
  return double(high) / double(s.size() - from);
}

// A player over a busy song: every tone channel, a raw sample, the metronome.
class AudioLoopTest : public AudioTest {
 protected:
  AudioLoopTest() {
    writeProgramStartInstruments(song);
    song.samples[1].data.assign(3000, 0);
    for (size_t i = 0; i < song.samples[1].data.size(); ++i) song.samples[1].data[i] = uint8_t(i * 11 & 0x7F);
    song.samples[1].loop = true;
    for (int row = 0; row < kRows; row += 2) {
      putCell(song, 0, 0, row, 30 + row % 40, 1, 0x4, "48");
      putCell(song, 0, 1, row, 40 + row % 30, 1, 0x0, "37");
      putCell(song, 0, 2, row, 25 + row % 20, 1);
      putCell(song, 0, 3, row, 1 + row % 16, 1);
    }
    putCell(song, 0, kPcmTrack, 0, 1);
    bind();
  }
  void bind() {
    player = std::make_unique<Player>(song, chip.get());
    player->options.metronome = true;
    startSong(*player);
  }
  Samples play(int count) {
    Samples out(size_t(count), 0x1234);
    fillAudio(*chip, player.get(), out.data(), count);
    return out;
  }
  Song song;
  std::unique_ptr<Player> player;
};

}  // namespace qc
