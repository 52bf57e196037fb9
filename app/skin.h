// The skin: the bitmap behind the whole interface.
#pragma once

#include <SDL.h>

#include <filesystem>

namespace qc {

// The embedded 736x592 24-bit BMP drawn by tools/skin_generator.cpp.
SDL_Surface* loadEmbeddedSkin();
// Any bitmap SDL reads; null when the file is missing or unreadable.
SDL_Surface* loadBitmapFile(const std::filesystem::path& path);

}  // namespace qc
