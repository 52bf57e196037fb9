#include "app/file_filters.h"

#include <algorithm>
#include <cctype>

namespace qc {

bool matchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (!pattern.starts_with('*')) return false;
  const std::string_view suffix = pattern.substr(1);
  if (name.size() <= suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), name.end() - std::ptrdiff_t(suffix.size()),
                    [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

}  // namespace qc
