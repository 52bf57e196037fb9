// The emulated console sound: the 2A03 unit, the expansion chip the metronome
// clicks on, the output buffer, and the time slicing that drives them.
//
// Time: a sub-step lasts 106 or 107 CPU clocks (a 16-entry pattern of extra
// clocks that runs on across frames, 1705 clocks per 16 sub-steps). Register
// writes inside a sub-step land 4 clocks apart; endSubStep closes the slice
// and makes every time stamp relative to the next one.
//
// An Engine is a value: the editor's live one is app.engine; a render or a
// test makes its own. Whoever owns one calls it from one thread at a time.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "playback/clock_rates.h"
#include "playback/expansion_chip.h"
#include "playback/nonlinear_buffer.h"
#include "playback/sound_chip.h"

namespace qc {

// Sees every register write with its clock within the sub-step (tests, traces).
using RegisterWriteObserver = std::function<void(uint32_t address, uint8_t value, int32_t clock)>;

struct Engine {
  // Built but silent: no clock and no buffer until initAudioEngine.
  Engine() = default;
  // Clock and sample rate for the standard, ready to play.
  explicit Engine(bool ntsc, int32_t sampleRate = kOutputRate);
  Engine(const Engine&) = delete;  // the chips point into the buffer
  Engine& operator=(const Engine&) = delete;

  SoundChip soundChip;
  ExpansionChip expansionChip;
  Nonlinear_Buffer outputBuffer;
  // What the chips render into and fillAudio reads: outputBuffer, or one the
  // owner attaches with useOutput.
  Multi_Buffer* output = &outputBuffer;
  int32_t sampleRate = kOutputRate;  // of the output and the chips' band-limited steps
  int32_t subStep = 0;          // within the player frame, 0..311
  int32_t extraClockIndex = 0;  // never reset by a frame: the pattern runs on
  int32_t writeTime = 0;        // clock of the last write within the sub-step
  bool outputReady = false;     // the buffer has its array and the chip its clock
  RegisterWriteObserver writeObserver;
};

// Stamps the write 4 clocks after the previous one in the current sub-step.
// 0x4000..0x4017 go to the 2A03 unit, 0x9000..0xBFFF to the expansion chip;
// other addresses only advance the time.
void apuWrite(Engine& engine, uint32_t address, uint8_t value);
inline constexpr int32_t kBaseClocks = 106;
// Nine extra clocks in 16 sub-steps: 1705 clocks, so a frame averages 33247.5.
inline constexpr std::array<int32_t, 16> kExtraClockPattern = {1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0};

// Closes one sub-step: 106 or 107 clocks. Inline: the audio loop runs it
// 15600 times a second.
inline void endSubStep(Engine& engine) {
  const int32_t clocks = kBaseClocks + kExtraClockPattern[engine.extraClockIndex];
  engine.extraClockIndex = (engine.extraClockIndex + 1) % int32_t(kExtraClockPattern.size());
  engine.writeTime = 0;
  engine.soundChip.endSlice(clocks);
  engine.expansionChip.endSlice(clocks);
  engine.output->endFrame(clocks, true);
}
// Clock and sample rate for the standard; clears the output buffer.
// Returns "Out of memory" when the buffer can't be allocated, else nullptr.
const char* setupChipClock(Engine& engine, bool ntsc);
// Renders into buffer from now on (set up afresh, empty); the caller keeps it
// alive as long as the engine. Returns what setupChipClock returns.
const char* useOutput(Engine& engine, Multi_Buffer& buffer, bool ntsc);
// setupChipClock and the chip's sample reader: what the constructor does.
void initAudioEngine(Engine& engine, bool ntsc);

}  // namespace qc
