#include "cli/convert_command.h"

#include "cli/command_support.h"
#include "song/safe_file.h"

namespace qc {

int runConvert(int argc, char** argv) {
  if (argc != 3) return usageError("--convert IN.qcm OUT.qcm");
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  if (writeFileSafely(argv[2], encodeModule(*module.song))) return 0;
  reportWriteFailure(argv[2]);
  return 1;
}

}  // namespace qc
