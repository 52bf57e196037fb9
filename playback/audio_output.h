// Drives the emulated chip in sub-steps of 106 or 107 CPU clocks, 312 to a
// player frame, and is the one path by which register values reach it.
//
// fillAudio runs on the audio thread (or under the audio lock): at sub-step 0
// it calls the per-frame routine, at every sub-step the per-sub-step routine,
// then closes the sub-step, until enough samples are buffered. Register
// writes made by those routines land 4 clocks apart within the sub-step.
#pragma once

#include <cstdint>

inline constexpr int kSubStepsPerFrame = 312;
inline constexpr int kOutputRate = 44100;
inline constexpr int32_t kPalClockRate = 1662607;   // CPU clocks per second
inline constexpr int32_t kNtscClockRate = 1789773;

// Stamps the write 4 clocks after the previous one in the current sub-step.
// 0x4000..0x4017 go to the 2A03 unit, 0x9000..0xBFFF to the expansion chip;
// other addresses only advance the time.
void apuWrite(uint32_t address, uint8_t value);
// Closes one sub-step and makes the chip's time stamps relative to the next.
void endSubStep();
// Clock and sample rate for the song's standard; clears the output buffer.
// Returns "Out of memory" when the buffer can't be allocated, else nullptr.
const char* setupChipClock();
// Sets the clock, installs the sample reader and binds the player's routines.
void initAudioEngine();
// Runs the player and chip until count samples are buffered, then reads them.
// Samples made beyond count are delivered first by the next call.
void fillAudio(int16_t* destination, int count);

// The routines fillAudio runs: frame on sub-step 0, subStep on every sub-step.
void setPlayerRoutines(void (*frame)(), void (*subStep)());
// The chip, the buffer and the sub-step clock as the program starts them,
// then initAudioEngine with no player bound, so tests drive the chip alone.
void resetAudioEngine();

// Sees every register write with its clock within the sub-step (tests, traces).
using RegisterWriteObserver = void (*)(uint32_t address, uint8_t value, int32_t clock);
void setRegisterWriteObserver(RegisterWriteObserver observer);
