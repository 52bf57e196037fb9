// The editor's audio export of the demo song (2 loops, a 5-second fade) into
// a WAV file, and the same as five stems. "realtime" is the song's length
// over the time the export took.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "export/audio_export.h"
#include "song/module_file.h"

namespace qc {

namespace {

void exportDemo(benchmark::State& state, bool stems) {
  ParsedModule module;
  if (!readModuleFile(QC_EXAMPLES_DIR "/demo.qcm", module)) {
    state.SkipWithError("examples/demo.qcm did not load");
    return;
  }
  const std::string path = "/tmp/quillchanter-bench-" + std::to_string(getpid()) + ".wav";
  const AudioExportOptions options{.loops = kEditorExportLoops, .fadeSeconds = kExportFadeSeconds, .stems = stems};
  const AudioExportPlan plan = planAudioExport(*module.song, options);
  for (auto _ : state)
    if (!exportAudio(*module.song, path, options, plan)) state.SkipWithError("the export failed");
  for (const std::string& file : audioExportPaths(path, stems)) unlink(file.c_str());
  const double songSeconds = double(plan.samples) / options.sampleRate;
  state.counters["realtime"] =
      benchmark::Counter(songSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ExportDemoSongToWav(benchmark::State& state) { exportDemo(state, false); }
void BM_ExportDemoSongToStems(benchmark::State& state) { exportDemo(state, true); }
BENCHMARK(BM_ExportDemoSongToWav)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportDemoSongToStems)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

}  // namespace qc
