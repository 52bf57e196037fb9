#include "export/rom_export.h"

#include "export/cart_images.h"
#include "export/file_replace.h"
#include "export/rom_layout.h"
#include "song/app_state.h"

bool exportRom(const std::string& path, std::string& error) {
  const RomImage image = buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom);
  if (image.bytes.empty()) {
    error = image.error;
    return false;
  }
  if (!replaceFile(path, image.bytes)) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool exportRom(const std::string& path) {
  std::string error;
  return exportRom(path, error);
}
