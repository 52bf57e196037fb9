#include "cli/export_qcs_command.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "cli/command_support.h"
#include "song/optimized_samples.h"
#include "song/safe_file.h"

namespace qc {

namespace {

// Decimal, or hexadecimal after "0x", as the editor shows slots (0x1a).
bool parseSlot(const char* text, int& slot) {
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* digits = hex ? text + 2 : text;
  if (!std::isxdigit(uint8_t(digits[0]))) return false;
  char* end;
  errno = 0;
  const long value = std::strtol(digits, &end, hex ? 16 : 10);
  if (errno != 0 || *end != '\0' || value < 1 || value >= kSampleSlots) return false;
  slot = int(value);
  return true;
}

}  // namespace

int runExportQcs(int argc, char** argv) {
  if (argc != 4) return usageError("--export-qcs MODULE SLOT OUT.qcs");
  int slot;
  if (!parseSlot(argv[2], slot)) {
    std::fprintf(stderr, "quillchanter: %s: not a sample slot (1 to 255, or 0x01 to 0xff)\n", argv[2]);
    return 1;
  }
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  if (writeFileSafely(argv[3], encodeOptimizedSamples(module.song->samples[slot]))) return 0;
  reportWriteFailure(argv[3]);
  return 1;
}

}  // namespace qc
