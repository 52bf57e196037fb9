#include "export/rom_export.h"

#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "song/safe_file.h"

namespace qc {

bool exportRom(const std::string& path) {
  const RomImage image = buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom);
  return !image.bytes.empty() && writeFileSafely(path, image.bytes);
}

}  // namespace qc
