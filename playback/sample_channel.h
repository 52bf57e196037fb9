// The 2A03 delta-modulation channel: a 7-bit output level that 0x4011 sets at
// once and that each bit of the sample bytes moves up or down by 2.
#pragma once

#include "playback/chip_channel.h"
#include "playback/step_synth.h"

namespace qc {

// Reads a byte of sample memory at a CPU address 0x8000..0xFFFF.
using SampleReader = uint8_t (*)(uint16_t address);

// Clocks per bit by bits 0..3 of 0x4010. The PAL row differs from the usual
// PAL table in 353, 297, 266, 199, 177, 149, 119 and 67.
inline constexpr std::array<std::array<int32_t, 16>, 2> kSampleRates = {{
    {428, 380, 340, 320, 286, 254, 226, 214, 190, 160, 142, 128, 106, 84, 72, 54},
    {398, 353, 316, 297, 266, 236, 210, 199, 177, 149, 132, 119, 98, 78, 67, 50},
}};
inline constexpr uint8_t kSampleStatusBit = 0x10;

struct SampleChannel : ChipChannel {
  int32_t timerPeriod = kSampleRates[0][0];
  int32_t level = 0;           // 0..127
  int32_t address = 0;         // 15 bits, above 0x8000
  int32_t bytesRemaining = 0;
  uint8_t byteBuffer = 0;
  bool byteBufferFull = false;
  uint8_t bits = 0;
  int32_t bitsRemaining = 1;
  bool silent = true;
  bool pal = false;
  SampleReader sampleReader = nullptr;

  // Register 0..3 of 0x4010..0x4013.
  void write(int reg, uint8_t value);
  // From 0x4015 bit 4 going on: restart at 0x4012 / 0x4013.
  void start(uint8_t& status);
  // Clears the status bit when a non-looping sample runs out.
  void run(const StepSynth& synth, int32_t end, uint8_t& status);

 private:
  void reload();
  void fillByteBuffer(uint8_t& status);
};

}  // namespace qc
