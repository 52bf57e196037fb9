#include "app/skin.h"

namespace qc {

// The generated bitmap, linked in as read-only data (QC_SKIN_BMP is its path).
asm(".section .rodata\n"
    ".balign 16\n"
    ".global qcSkinBmp\n.hidden qcSkinBmp\n"
    "qcSkinBmp:\n"
    ".incbin \"" QC_SKIN_BMP "\"\n"
    ".global qcSkinBmpEnd\n.hidden qcSkinBmpEnd\n"
    "qcSkinBmpEnd:\n"
    ".previous\n");
extern "C" const unsigned char qcSkinBmp[];
extern "C" const unsigned char qcSkinBmpEnd[];

SDL_Surface* loadEmbeddedSkin() {
  SDL_RWops* stream = SDL_RWFromConstMem(qcSkinBmp, int(qcSkinBmpEnd - qcSkinBmp));
  return stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
}

SDL_Surface* loadBitmapFile(const std::filesystem::path& path) {
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  return stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
}

}  // namespace qc
