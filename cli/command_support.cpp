#include "cli/command_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool readModuleArgument(const std::string& path, ParsedModule& out) {
  ReadReport report;
  if (readModuleFile(path, out, &report)) return true;
  std::fprintf(stderr, "quillchanter: %s: %s\n", path.c_str(), report.describe().c_str());
  return false;
}

void reportWriteFailure(const std::string& path) {
  std::fprintf(stderr, "quillchanter: %s: cannot write: %s\n", path.c_str(), std::strerror(errno));
}

int usageError(const char* usage) {
  std::fprintf(stderr, "usage: quillchanter %s\n", usage);
  return 1;
}
