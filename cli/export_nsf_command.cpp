#include "cli/export_nsf_command.h"

#include <cstdio>

#include "cli/command_support.h"
#include "export/nsf_export.h"
#include "song/safe_file.h"

namespace qc {

namespace {

using Compile = std::optional<std::vector<uint8_t>> (*)(const Song&, const CompileReport&);

int exportCompiled(int argc, char** argv, const char* usage, const char* type, Compile compile) {
  if (argc != 3) return usageError(usage);
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  std::optional<std::vector<uint8_t>> file =
      compile(*module.song, [](const std::string& line) { std::printf("%s\n", line.c_str()); });
  if (!file) {
    std::fprintf(stderr,
                 "quillchanter: %s: cannot export as %s: the song breaks a limit of the format "
                 "or never reaches its loop point\n",
                 argv[1], type);
    return 1;
  }
  if (writeFileSafely(argv[2], *file)) return 0;
  reportWriteFailure(argv[2]);
  return 1;
}

}  // namespace

int runExportNsf(int argc, char** argv) {
  return exportCompiled(argc, argv, "--export-nsf MODULE OUT.nsf", "NSF", compileNsf);
}

int runExportNsfe(int argc, char** argv) {
  return exportCompiled(argc, argv, "--export-nsfe MODULE OUT.nsfe", "NSFe", compileNsfe);
}

}  // namespace qc
