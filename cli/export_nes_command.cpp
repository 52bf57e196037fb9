#include "cli/export_nes_command.h"

#include <cstdio>

#include "cli/command_support.h"
#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "song/safe_file.h"

namespace qc {

int runExportNes(int argc, char** argv) {
  if (argc != 3) return usageError("--export-nes MODULE OUT.nes");
  ParsedModule module;
  if (!readModuleArgument(argv[1], module)) return 1;
  const RomImage image = buildRomImage(*module.song, kCartPlayerImage, kCartCharacterRom);
  if (image.bytes.empty()) {
    std::fprintf(stderr, "quillchanter: %s: cannot export as iNES: %s\n", argv[1], image.error.c_str());
    return 1;
  }
  if (writeFileSafely(argv[2], image.bytes)) return 0;
  reportWriteFailure(argv[2]);
  return 1;
}

}  // namespace qc
