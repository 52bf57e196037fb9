// Drives the emulated chip in sub-steps of 106 or 107 CPU clocks, 312 to a
// player frame, and is the one path by which register values reach it.
#pragma once

#include <cstdint>

inline constexpr int kSubStepsPerFrame = 312;
inline constexpr int kOutputRate = 44100;

// Stamps the write 4 clocks after the previous one in the current sub-step.
void apuWrite(uint32_t address, uint8_t value);
// Closes one sub-step and makes the chip's time stamps relative to the next.
void endSubStep();
// Clock and sample rate for the song's standard; clears the output buffer.
const char* setupChipClock();
// Sets the clock and binds the player's frame and sub-step routines.
void initAudioEngine();
// Runs the player and chip until count samples are buffered, then reads them.
void fillAudio(int16_t* destination, int count);

// Sees every register write with its clock within the sub-step (tests, traces).
using RegisterWriteObserver = void (*)(uint32_t address, uint8_t value, int32_t clock);
void setRegisterWriteObserver(RegisterWriteObserver observer);
