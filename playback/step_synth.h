// Band-limited steps. When a channel's output level changes by delta at a
// 16.16 sample position, the synthesiser adds delta × one kernel row to a
// DeltaBuffer: the row spreads the step over `width` samples so that the
// chip's square edges reach 44100 Hz without aliasing.
//
// The kernel table has 64 rows of `width` uint16 entries: 32 phases of a
// sample for even output positions and 32 for odd ones. Entries carry the
// synthesiser's volume unit u: adding a row less u on every entry moves the
// buffer's integrated level by exactly delta × u.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "playback/delta_buffer.h"

namespace qc {

inline constexpr int kKernelPhases = 32;
inline constexpr int kKernelRows = 2 * kKernelPhases;
inline constexpr int kWideKernel = 12;   // pulses, triangle, expansion pulses
inline constexpr int kNarrowKernel = 8;  // noise, sample channel, sawtooth

struct Equaliser {
  double trebleDb;
  double rolloffHz;
  double sampleRate;
};
inline constexpr Equaliser kChipEqualiser{-8.87, 8800, 44100};

class StepSynth {
 public:
  explicit StepSynth(int width);

  // The kernel is generated on the first call; later calls rescale it.
  void setVolume(double volume);
  // The output rate the kernel's rolloff is placed for; a change regenerates it.
  void setSampleRate(int32_t rate);
  int32_t volumeUnit() const { return unit_; }
  int width() const { return width_; }
  const uint16_t* kernelRow(int row) const { return &table_[size_t(row) * width_]; }

  void addStep(uint32_t position, int32_t delta, DeltaBuffer& buffer) const {
    const int pairs = width_ / 2;
    const uint32_t* row = &pairs_[((position >> 11) & (kKernelRows - 1)) * pairs];
    uint16_t* out = buffer.entries.data() + ((position >> 16) & ~1u) + (kSpareEntries - width_) / 2;
    const uint32_t d = uint32_t(delta);
    // Two 16-bit entries per 32-bit addition; the pair arithmetic is exact
    // while each entry stays within 16 bits, which the unit sizes ensure.
    for (int k = 0; k < pairs; ++k) {
      uint32_t value;
      std::memcpy(&value, out + 2 * k, sizeof value);
      value += row[k] * d;
      std::memcpy(out + 2 * k, &value, sizeof value);
    }
  }
  void addStepAtClock(int32_t clock, int32_t delta, DeltaBuffer& buffer) const {
    addStep(buffer.positionAt(clock), delta, buffer);
  }

 private:
  static constexpr int kGeneratedPhases = kKernelPhases / 2 + 1;
  static constexpr int kRest = 16384;

  void generateKernel();
  void scaleKernel();

  Equaliser equaliser_ = kChipEqualiser;
  double volume_ = -1;  // -1 = not set
  int width_;
  bool equaliserPending_ = true;
  int32_t unit_ = 0;
  std::array<uint16_t, kGeneratedPhases * kWideKernel> phases_{};  // unscaled, rest kRest
  std::array<uint16_t, kKernelRows * kWideKernel> table_{};
  std::array<uint32_t, kKernelRows * kWideKernel / 2> pairs_{};  // table pairs less 0x10001 × u
};

}  // namespace qc
