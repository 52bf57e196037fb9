#include "cli/export_nsf_command.h"

#include <cstdio>

#include "cli/command_support.h"
#include "export/nsf_export.h"
#include "song/safe_file.h"

int runExportNsf(int argc, char** argv) {
  if (argc != 3) return usageError("--export-nsf MODULE OUT.nsf");
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  std::optional<std::vector<uint8_t>> file =
      compileNsf(*module.song, [](const std::string& line) { std::printf("%s\n", line.c_str()); });
  if (!file) {
    std::fprintf(stderr,
                 "quillchanter: %s: cannot export as NSF: the song breaks a limit of the format "
                 "or never reaches its loop point\n",
                 argv[1]);
    return 1;
  }
  if (writeFileSafely(argv[2], *file)) return 0;
  reportWriteFailure(argv[2]);
  return 1;
}
