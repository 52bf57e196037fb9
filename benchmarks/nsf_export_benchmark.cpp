// The NSF export of the demo song in memory: simulation, streams, samples
// and layout (the command adds reading the module, printing the progress
// lines and writing the file).
#include <benchmark/benchmark.h>

#include "export/nsf_export.h"
#include "song/app_state.h"
#include "song/module_file.h"

namespace qc {

namespace {

void BM_CompileDemoSongToNsf(benchmark::State& state) {
  resetToProgramStart();
  if (!loadModuleFile(QC_EXAMPLES_DIR "/demo.qcm")) {
    state.SkipWithError("examples/demo.qcm did not load");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(compileNsf(app.song));
}
BENCHMARK(BM_CompileDemoSongToNsf)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace qc
