// Writes a whole file so that a failure never leaves it half-written: the
// bytes go to a temporary file beside it, which then replaces it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// False when any step fails; the file at `path` is then as it was before.
bool replaceFile(const std::string& path, std::span<const uint8_t> bytes);
