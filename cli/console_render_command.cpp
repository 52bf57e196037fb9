#include "cli/console_render_command.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/command_support.h"
#include "cli/render_command.h"
#include "playback/song_length.h"
#include "export/sound_file.h"
#include "console/console_render.h"
#include "song/safe_file.h"

namespace qc {

namespace {

constexpr const char* kUsage = "--render MODULE|FILE.nsf|FILE.nes OUT.wav [--seconds S]";
constexpr double kMaxSeconds = 12 * 3600.0;

bool readWhole(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int renderConsoleFile(int argc, char** argv, bool nsf) {
  double seconds = 0.0;
  if (argc == 5) {
    char* end = nullptr;
    seconds = std::strtod(argv[4], &end);
    if (std::string(argv[3]) != "--seconds" || *end != '\0' || !(seconds > 0.0 && seconds <= kMaxSeconds))
      return usageError(kUsage);
  }
  const std::string inPath = argv[1], outPath = argv[2];
  std::vector<uint8_t> bytes;
  if (!readWhole(inPath, bytes)) {
    std::fprintf(stderr, "quillchanter: %s: cannot read: %s\n", inPath.c_str(), std::strerror(errno));
    return 1;
  }
  // Through the safe writer: a failed render leaves no file and an old one as it was.
  ConsoleRenderResult result;
  bool fileFailed = false;
  const bool written = writeFileSafely(outPath, [&](std::FILE* stream) {
    SNDFILE* file = openSoundStream(stream, SoundFileFormat{});
    if (!file) {
      fileFailed = true;
      return false;
    }
    const SampleSink sink = [file](const std::vector<int16_t>& samples) {
      return sf_write_short(file, samples.data(), sf_count_t(samples.size())) == sf_count_t(samples.size());
    };
    result = nsf ? renderNsfFile(bytes, seconds, kRenderCapSeconds, sink)
                 : renderCartridgeFile(bytes, seconds, kRenderCapSeconds, sink);
    fileFailed = sf_close(file) != 0 || result.sinkFailed;
    return result.error.empty() && !fileFailed;
  });
  if (!result.error.empty()) {
    std::fprintf(stderr, "quillchanter: %s: %s\n", inPath.c_str(), result.error.c_str());
    return 1;
  }
  if (!written || fileFailed) {
    std::fprintf(stderr, "quillchanter: %s: cannot write the file\n", outPath.c_str());
    return 1;
  }
  if (!result.note.empty()) std::fprintf(stderr, "quillchanter: %s: %s\n", inPath.c_str(), result.note.c_str());
  std::printf("%s: %.2f seconds\n", outPath.c_str(), result.seconds);
  return 0;
}

}  // namespace

int runRenderFile(int argc, char** argv) {
  if (argc < 2) return usageError(kUsage);
  const std::string type = lowercaseExtension(argv[1]);
  if (type != "nsf" && type != "nes") return runRender(argc, argv);
  if (argc != 3 && argc != 5) return usageError(kUsage);
  return renderConsoleFile(argc, argv, type == "nsf");
}

}  // namespace qc
