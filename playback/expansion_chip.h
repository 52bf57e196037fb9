// The expansion sound of the Konami VRC6, used for the metronome: two pulses
// with 16-step duty and a sawtooth. Oscillator n has its registers at
// 0x9000 + 0x1000 × n .. + 3. Times are CPU clocks within the current slice,
// as for the SoundChip; all three render into one DeltaBuffer.
#pragma once

#include <array>
#include <cstdint>

#include "playback/delta_buffer.h"
#include "playback/step_synth.h"

namespace qc {

inline constexpr int kExpansionOscillators = 3;  // pulse, pulse, sawtooth

struct ExpansionOscillator {
  std::array<uint8_t, 4> regs{};
  int32_t delay = 0;    // clocks from the end of the last run to the next timer event
  int32_t lastAmp = 0;
  int32_t phase = 0;    // pulse: 0..15; sawtooth: event 0..6
  int32_t accumulator = 0;

  // 12-bit period value of r1 and r2.
  int32_t period() const { return (regs[2] & 0x0F) << 8 | regs[1]; }
  bool enabled() const { return regs[2] & 0x80; }
};

struct ExpansionChip {
  ExpansionChip();

  // Addresses 0x9000..0xBFFF: register (address & 3) of oscillator (address >> 12) - 9.
  // Others are ignored. The caller runs the chip to the write's time first.
  void write(uint32_t address, uint8_t value);
  void runUntil(int32_t time);
  void endSlice(int32_t clocks);
  void reset();
  void setOutput(DeltaBuffer* buffer) { output = buffer; }
  void setSampleRate(int32_t rate) {
    pulseSynth.setSampleRate(rate);
    sawSynth.setSampleRate(rate);
  }

  std::array<ExpansionOscillator, kExpansionOscillators> oscillators{};
  int32_t lastTime = 0;
  bool quiet = false;  // no oscillator steps and every output is rendered: runs skip them
  DeltaBuffer* output = nullptr;
  StepSynth pulseSynth{kWideKernel};
  StepSynth sawSynth{kNarrowKernel};

 private:
  // Each returns whether the oscillator is stepping.
  bool runPulse(ExpansionOscillator& pulse, int32_t end);
  bool runSaw(int32_t end);
};

}  // namespace qc
