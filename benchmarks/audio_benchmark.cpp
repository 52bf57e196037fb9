// Renders a dense workload through an engine: both pulses, the triangle and
// the noise change every frame and the direct level changes every sub-step,
// as a raw sample does. The "audio_s" rate is seconds of audio per second.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "playback/clock_rates.h"
#include "playback/engine.h"

namespace qc {

namespace {

constexpr int kCallbackSamples = 4096;
constexpr int kCallbacksPerRun = 11;  // about one second of audio

int frame = 0;
int subStep = 0;

void denseFrame(Engine& engine) {
  ++frame;
  apuWrite(engine, 0x4015, 0x0F);
  for (int pulse = 0; pulse < 2; ++pulse) {
    const uint32_t base = 0x4000 + 4 * uint32_t(pulse);
    const int period = 0x0A0 + (frame * (29 + 14 * pulse)) % 0x380;
    apuWrite(engine, base, uint8_t(pulse << 6 | 0x30 | (frame & 15)));
    apuWrite(engine, base + 1, 0x08);
    apuWrite(engine, base + 2, uint8_t(period & 0xFF));
    if (frame % 7 == 0) apuWrite(engine, base + 3, uint8_t(0x08 | period >> 8));
  }
  const int trianglePeriod = 0x060 + (frame * 53) % 0x300;
  apuWrite(engine, 0x4008, 0xFF);
  apuWrite(engine, 0x400A, uint8_t(trianglePeriod & 0xFF));
  apuWrite(engine, 0x400B, uint8_t(0x08 | trianglePeriod >> 8));
  apuWrite(engine, 0x400C, uint8_t(0x30 | (frame % 13 + 3)));
  apuWrite(engine, 0x400E, uint8_t((frame & 16) << 3 | (frame * 5) % 16));
  apuWrite(engine, 0x400F, 0x08);
}

void denseSubStep(Engine& engine) {
  ++subStep;
  apuWrite(engine, 0x4011, uint8_t(64 + ((subStep * 7) % 48) - 24));
}

// The audio loop with the dense writes in the player's place.
void fillDense(Engine& engine, int16_t* destination, int count) {
  while (engine.outputBuffer.samplesAvailable() < count) {
    if (engine.subStep == 0) denseFrame(engine);
    denseSubStep(engine);
    endSubStep(engine);
    if (++engine.subStep == kSubStepsPerFrame) engine.subStep = 0;
  }
  engine.outputBuffer.readSamples(destination, count);
}

void BM_FillAudioDense(benchmark::State& state) {
  Engine engine(state.range(0) != 0);
  std::vector<int16_t> callback(kCallbackSamples);
  for (auto _ : state) {
    for (int i = 0; i < kCallbacksPerRun; ++i) fillDense(engine, callback.data(), kCallbackSamples);
    benchmark::DoNotOptimize(callback.data());
    benchmark::ClobberMemory();
  }
  const double secondsPerRun = double(kCallbacksPerRun) * kCallbackSamples / kOutputRate;
  state.counters["audio_s"] = benchmark::Counter(secondsPerRun, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FillAudioDense)->Arg(0)->Arg(1)->ArgName("ntsc")->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace qc
