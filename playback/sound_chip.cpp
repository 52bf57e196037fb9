#include "playback/sound_chip.h"

#include <algorithm>

namespace qc {

namespace {

constexpr uint32_t kFirstRegister = 0x4000;
constexpr uint32_t kLastChannelRegister = 0x4013;
constexpr uint32_t kStatusRegister = 0x4015;
constexpr uint32_t kFrameCounterRegister = 0x4017;
constexpr int kSampleChannel = 4;
constexpr uint8_t kPulseHalt = 0x20;
constexpr uint8_t kTriangleHalt = 0x80;

// Back to power-on state, still rendering into the same buffer.
template <typename Channel>
void clearChannel(Channel& channel) {
  DeltaBuffer* output = channel.output;
  channel = Channel{};
  channel.output = output;
}

}  // namespace

SoundChip::SoundChip() {
  setOutputLevels(false, 1.0);
  reset(true);
}

ChipChannel& SoundChip::channel(int index) {
  switch (index) {
    case 0: return pulse1;
    case 1: return pulse2;
    case 2: return triangle;
    case 3: return noise;
    default: return sample;
  }
}

void SoundChip::setOutput(int index, DeltaBuffer* buffer) { channel(index).output = buffer; }

void SoundChip::setOutputLevels(bool nonlinear, double volume) {
  if (nonlinear) {
    pulseSynth.setVolume(volume * 0.11272086207720806 / 15);
    // 3, 2 and 1 times 0.18 / 101; the mapper provides the loudness.
    triangleSynth.setVolume(0.005346534653465346);
    noiseSynth.setVolume(0.003564356435643564);
    sampleSynth.setVolume(0.001782178217821782);
  } else {
    pulseSynth.setVolume(volume * 0.1128 / 15);
    triangleSynth.setVolume(volume * 0.12765 / 15);
    noiseSynth.setVolume(volume * 0.0741 / 15);
    sampleSynth.setVolume(volume * 0.42545 / 127);
  }
  for (int i = 0; i < kChipChannels; ++i) channel(i).lastAmp = 0;
}

void SoundChip::setSampleRate(int32_t rate) {
  for (StepSynth* synth : {&pulseSynth, &triangleSynth, &noiseSynth, &sampleSynth}) synth->setSampleRate(rate);
}

void SoundChip::reset(bool pal) {
  clearChannel(pulse1);
  clearChannel(pulse2);
  clearChannel(triangle);
  clearChannel(noise);
  const SampleReader reader = sample.sampleReader;
  clearChannel(sample);
  sample.sampleReader = reader;
  sample.pal = pal;
  sequencer = FrameSequencer{};
  sequencer.period = pal ? kPalFramePeriod : kNtscFramePeriod;
  sequencer.delay = 1;
  lastTime = 0;
  status = 0;
  writeRegister(0, kFrameCounterRegister, 0x00);
  writeRegister(0, kStatusRegister, 0x00);
  for (uint32_t address = kFirstRegister; address <= kLastChannelRegister; ++address)
    writeRegister(0, address, (address & 3) ? 0x00 : 0x10);
}

void SoundChip::writeRegister(int32_t time, uint32_t address, uint8_t value) {
  if (address < kFirstRegister || address > kFrameCounterRegister) return;
  runSequencer(time);
  // Muted noise shifts once per run, so it runs at every write as if the
  // whole chip had run: its sequence stays the same.
  noise.run(noiseSynth, time);

  if (address <= kLastChannelRegister) {
    const int index = int(address - kFirstRegister) >> 2;
    const int reg = int(address & 3);
    runChannel(index, time);
    ChipChannel& c = channel(index);
    c.regs[reg] = value;
    c.written[reg] = true;
    if (index == kSampleChannel) {
      sample.write(reg, value);
    } else if (reg == 3) {
      if ((status >> index) & 1) c.lengthCounter = kLengthTable[value >> 3];
      if (index < 2) static_cast<PulseChannel&>(c).phase = 7;
    }
  } else if (address == kStatusRegister) {
    runChannels(time);
    for (int i = 0; i < kChipChannels - 1; ++i)
      if (!((value >> i) & 1)) channel(i).lengthCounter = 0;
    if (!(value & kSampleStatusBit)) sample.bytesRemaining = 0;
    const uint8_t previous = status;
    status = value;
    if ((value & kSampleStatusBit) && !(previous & kSampleStatusBit)) sample.start(status);
  } else if (address == kFrameCounterRegister) {
    sequencer.writeMode(value);
  }
}

void SoundChip::runChannel(int index, int32_t end) {
  switch (index) {
    case 0: pulse1.run(pulseSynth, end); break;
    case 1: pulse2.run(pulseSynth, end); break;
    case 2: triangle.run(triangleSynth, end); break;
    case 3: noise.run(noiseSynth, end); break;
    default: sample.run(sampleSynth, end, status); break;
  }
}

void SoundChip::runChannels(int32_t end) {
  pulse1.run(pulseSynth, end);
  pulse2.run(pulseSynth, end);
  triangle.run(triangleSynth, end);
  noise.run(noiseSynth, end);
  sample.run(sampleSynth, end, status);
}

void SoundChip::clockQuarterFrame() {
  triangle.clockLinearCounter();
  clockEnvelope(pulse1, pulse1.envelope);
  clockEnvelope(pulse2, pulse2.envelope);
  clockEnvelope(noise, noise.envelope);
}

void SoundChip::clockHalfFrame() {
  pulse1.clockLength(kPulseHalt);
  pulse2.clockLength(kPulseHalt);
  noise.clockLength(kPulseHalt);
  triangle.clockLength(kTriangleHalt);
  pulse1.clockSweep(-1);
  pulse2.clockSweep(0);
}

void SoundChip::runSequencer(int32_t end) {
  if (end <= lastTime) return;
  while (true) {
    const int32_t time = std::min(lastTime + sequencer.delay, end);
    sequencer.delay -= time - lastTime;
    lastTime = time;
    if (time == end) break;
    // A step changes every channel: render them all up to it first.
    runChannels(time);
    if (sequencer.takeStep()) clockHalfFrame();
    clockQuarterFrame();
  }
}

void SoundChip::runUntil(int32_t end) {
  runSequencer(end);
  runChannels(end);
}

void SoundChip::endSlice(int32_t clocks) {
  runUntil(clocks);
  lastTime -= clocks;
  for (int i = 0; i < kChipChannels; ++i) channel(i).runTime -= clocks;
}

}  // namespace qc
