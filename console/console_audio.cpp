#include "console/console_audio.h"

#include "playback/clock_rates.h"

namespace qc {

ConsoleAudio::ConsoleAudio(int32_t clockRate, uint64_t startCycle) : sliceStart_(startCycle) {
  buffer_.setClockRate(clockRate);
  chip_.noise.pal = clockRate == kPalClockRate;
  ready_ = buffer_.setSampleRate(kOutputRate, 0) == nullptr;
  buffer_.clearBuffer();
  buffer_.mapper.enabled = true;
  chip_.setOutputLevels(true, 1.0);
  for (int channel = 0; channel < kChipChannels; ++channel)
    chip_.setOutput(channel, ready_ ? buffer_.channelBuffers(channel).centre : nullptr);
}

void ConsoleAudio::write(uint64_t cycle, uint16_t address, uint8_t value) {
  chip_.writeRegister(int32_t(cycle - sliceStart_), address, value);
}

void ConsoleAudio::endSlice(uint64_t cycle, std::vector<int16_t>& out) {
  const int32_t clocks = int32_t(cycle - sliceStart_);
  sliceStart_ = cycle;
  chip_.endSlice(clocks);
  buffer_.endFrame(clocks, true);
  if (!ready_) return;
  const size_t before = out.size();
  out.resize(before + size_t(buffer_.samplesAvailable()));
  const int32_t read = buffer_.readSamples(out.data() + before, buffer_.samplesAvailable());
  out.resize(before + size_t(read));
}

}  // namespace qc
