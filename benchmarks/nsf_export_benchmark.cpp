// The NSF export of the demo song in memory: simulation, streams, samples
// and layout (the command adds reading the module and writing the file).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "export/nsf_export.h"
#include "song/app_state.h"
#include "song/module_file.h"

namespace {

void BM_CompileDemoSongToNsf(benchmark::State& state) {
  resetToProgramStart();
  if (!loadModuleFile(QC_EXAMPLES_DIR "/demo.qcm")) {
    state.SkipWithError("examples/demo.qcm did not load");
    return;
  }
  // The compiler's progress lines go to /dev/null meanwhile.
  std::fflush(stdout);
  int saved = dup(STDOUT_FILENO), null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  for (auto _ : state) benchmark::DoNotOptimize(compileNsf());
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(null);
  close(saved);
}
BENCHMARK(BM_CompileDemoSongToNsf)->Unit(benchmark::kMillisecond);

}  // namespace
