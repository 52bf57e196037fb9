// JSON string literals for names that are arbitrary bytes from a file.
#pragma once

#include <string>
#include <string_view>

namespace qc {

// Quotes and escapes the text. Valid UTF-8 passes through; any other byte
// is taken as Latin-1 (names from older files), so the output is always
// valid JSON.
std::string jsonString(std::string_view text);

}  // namespace qc
