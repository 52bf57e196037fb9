#include "playback/audio_output.h"

#include <algorithm>
#include <array>

#include "playback/audio_engine.h"
#include "playback/channel_update.h"
#include "playback/player.h"
#include "song/app_state.h"

SoundChip soundChip;
ExpansionChip expansionChip;
Nonlinear_Buffer outputBuffer;

namespace {

constexpr int32_t kBaseClocks = 106;
// Nine extra clocks in 16 sub-steps: 1705 clocks, so a frame averages 33247.5.
constexpr std::array<int32_t, 16> kExtraClockPattern = {1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0};
constexpr int32_t kWriteSpacing = 4;  // CPU clocks between register writes
// A frame writes about 20 registers; thousands of writes in one sub-step
// stop advancing here, so no step lands beyond the buffer (65536 clocks are
// about 1700 samples).
constexpr int32_t kLatestWriteTime = 65536;
constexpr uint32_t kFirstChipRegister = 0x4000;
constexpr uint32_t kFirstExpansionAddress = 0x8000;
constexpr uint8_t kSampleMemoryByte = 0x55;
// Longest read per pass of the loop; keeps the pending samples far below the buffer's size.
constexpr int kLargestRead = 8192;

int32_t subStep = 0;
int32_t extraClockIndex = 0;  // never reset by a frame: the pattern runs on
int32_t writeTime = 0;        // clock of the last write within the sub-step
bool outputReady = false;     // the buffer has its array and the chip its clock
void doNothing() {}
void (*frameRoutine)() = doNothing;
void (*subStepRoutine)() = doNothing;
RegisterWriteObserver writeObserver = nullptr;

uint8_t readSampleMemory(uint16_t) { return kSampleMemoryByte; }

}  // namespace

void apuWrite(uint32_t address, uint8_t value) {
  writeTime = std::min(writeTime + kWriteSpacing, kLatestWriteTime);
  if (writeObserver) writeObserver(address, value, writeTime);
  if (address < kFirstExpansionAddress) {
    if (address >= kFirstChipRegister) soundChip.writeRegister(writeTime, address, value);
    return;
  }
  expansionChip.runUntil(writeTime);
  expansionChip.write(address, value);
}

void endSubStep() {
  const int32_t clocks = kBaseClocks + kExtraClockPattern[extraClockIndex];
  extraClockIndex = (extraClockIndex + 1) % int32_t(kExtraClockPattern.size());
  writeTime = 0;
  soundChip.endSlice(clocks);
  expansionChip.endSlice(clocks);
  outputBuffer.endFrame(clocks, true);
}

const char* setupChipClock() {
  outputBuffer.setClockRate(app.song.ntsc ? kNtscClockRate : kPalClockRate);
  soundChip.noise.pal = !app.song.ntsc;
  const char* error = outputBuffer.setSampleRate(kOutputRate, 0);
  outputBuffer.clearBuffer();
  soundChip.setOutputLevels(true, 1.0);
  outputBuffer.mapper.enabled = true;
  // Without a buffer nothing may render into it.
  outputReady = error == nullptr;
  expansionChip.setOutput(outputReady ? outputBuffer.channelBuffers(0).centre : nullptr);
  for (int channel = 0; channel < kChipChannels; ++channel)
    soundChip.setOutput(channel, outputReady ? outputBuffer.channelBuffers(channel).centre : nullptr);
  return error;
}

void initAudioEngine() {
  setupChipClock();
  soundChip.sample.sampleReader = readSampleMemory;
  setPlayerRoutines(playerFrame, playerSubStep);
}

void fillAudio(int16_t* destination, int count) {
  while (count > 0) {
    const int wanted = std::min(count, kLargestRead);
    while (outputReady && outputBuffer.samplesAvailable() < wanted) {
      if (subStep == 0) frameRoutine();
      subStepRoutine();
      endSubStep();
      if (++subStep == kSubStepsPerFrame) subStep = 0;
    }
    if (!outputReady) {
      std::fill_n(destination, count, int16_t(0));
      return;
    }
    const int read = outputBuffer.readSamples(destination, wanted);
    destination += read;
    count -= read;
  }
}

void setPlayerRoutines(void (*frame)(), void (*subStepCall)()) {
  frameRoutine = frame;
  subStepRoutine = subStepCall;
}

void resetAudioEngine() {
  subStep = 0;
  extraClockIndex = 0;
  writeTime = 0;
  soundChip.reset(true);
  expansionChip.reset();
  initAudioEngine();
  setPlayerRoutines(doNothing, doNothing);
}

void setRegisterWriteObserver(RegisterWriteObserver observer) { writeObserver = observer; }
