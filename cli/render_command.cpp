#include "cli/render_command.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command_support.h"
#include "export/audio_export.h"
#include "playback/song_length.h"

namespace qc {

namespace {

constexpr const char* kUsage =
    "--render MODULE OUT.(wav|flac|ogg) [--loops N] [--fade S] [--seconds S] [--rate R] [--bits B] [--stems]";
constexpr long kMostLoops = 1000;
constexpr int kProgressEverySeconds = 10;

int badOption(const std::string& option, const std::string& value, const char* expected) {
  std::fprintf(stderr, "quillchanter: %s %s: %s\n", option.c_str(), value.c_str(), expected);
  return 1;
}

bool parseNumber(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && std::isfinite(out);
}

// 0 when the options are good; else the exit status after one line on stderr.
int parseOptions(int argc, char** argv, AudioExportOptions& options) {
  bool loopsGiven = false;
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--stems") {
      options.stems = true;
      continue;
    }
    if (option != "--loops" && option != "--fade" && option != "--seconds" && option != "--rate" &&
        option != "--bits") {
      std::fprintf(stderr, "quillchanter: unknown option %s\n", option.c_str());
      return 1;
    }
    if (i + 1 == argc) {
      std::fprintf(stderr, "quillchanter: %s needs a value\n", option.c_str());
      return 1;
    }
    const std::string value = argv[++i];
    double number = 0;
    const bool numeric = parseNumber(value.c_str(), number);
    if (option == "--loops") {
      if (!numeric || number < 0 || number > kMostLoops || number != std::floor(number))
        return badOption(option, value, "the loop count is a whole number from 0 to 1000");
      options.loops = int(number);
      loopsGiven = true;
    } else if (option == "--fade") {
      if (!numeric || number < 0 || number > kLongestAudioExportSeconds)
        return badOption(option, value, "the fade is a number of seconds, 0 or more");
      options.fadeSeconds = number;
    } else if (option == "--seconds") {
      if (!numeric || number <= 0 || number > kLongestAudioExportSeconds)
        return badOption(option, value, "the length is a number of seconds above 0, at most 6 hours");
      options.seconds = number;
    } else if (option == "--rate") {
      if (value != "44100" && value != "48000") return badOption(option, value, "the rate is 44100 or 48000");
      options.sampleRate = std::atoi(value.c_str());
    } else {
      if (value != "16" && value != "24") return badOption(option, value, "the sample size is 16 or 24 bits");
      options.bits = std::atoi(value.c_str());
    }
  }
  if (loopsGiven && options.seconds > 0) {
    std::fprintf(stderr, "quillchanter: --loops and --seconds exclude each other\n");
    return 1;
  }
  if (options.seconds > 0 && options.fadeSeconds > options.seconds) {
    std::fprintf(stderr, "quillchanter: --fade is longer than --seconds\n");
    return 1;
  }
  return 0;
}

}  // namespace

int runRender(int argc, char** argv) {
  if (argc < 3) return usageError(kUsage);
  AudioExportOptions options;
  if (const int status = parseOptions(argc, argv, options)) return status;
  const std::string modulePath = argv[1], outPath = argv[2];
  const std::optional<SoundFileType> type = soundFileTypeOf(outPath);
  if (!type) {
    std::fprintf(stderr, "quillchanter: %s: not an audio file name (.wav, .flac or .ogg)\n", outPath.c_str());
    return 1;
  }
  if (*type == SoundFileType::kOgg && options.bits != 16) {
    std::fprintf(stderr, "quillchanter: --bits: Ogg Vorbis has no sample size\n");
    return 1;
  }
  ParsedModule module;
  if (!readModuleArgument(modulePath, module)) return 1;
  const Song& song = *module.song;

  const AudioExportPlan plan = planAudioExport(song, options);
  const double seconds = double(plan.samples) / options.sampleRate;
  if (seconds > kLongestAudioExportSeconds) {
    std::fprintf(stderr, "quillchanter: %s: the render would last over 6 hours\n", outPath.c_str());
    return 1;
  }
  ExportProgress progress;
  if (isatty(fileno(stderr)))
    progress = [seconds, shown = -1L](double done) mutable {
      const long at = long(done * seconds) / kProgressEverySeconds * kProgressEverySeconds;
      if (at != shown) std::fprintf(stderr, "\rquillchanter: rendered %ld s", at);
      shown = at;
    };
  const bool written = exportAudio(song, outPath, options, plan, progress);
  if (progress) std::fprintf(stderr, "\n");
  if (!written) {
    reportWriteFailure(outPath);
    return 1;
  }
  if (!plan.looped)
    std::fprintf(stderr, "quillchanter: %s: %s; stopped after %d minutes\n", modulePath.c_str(),
                 plan.stalled ? "speed 0 holds the song on one row" : "no loop point reached",
                 kRenderCapSeconds / 60);
  for (const std::string& path : audioExportPaths(outPath, options.stems))
    std::printf("%s: %.2f seconds\n", path.c_str(), seconds);
  return 0;
}

}  // namespace qc
