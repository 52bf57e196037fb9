#include "cli/module_argument.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "song/byte_reader.h"

bool readModuleArgument(const std::string& path, ParsedModule& out) {
  ReadReport report;
  std::vector<uint8_t> bytes;
  if (readWholeFile(path, bytes, &report) && parseModule(bytes, out, &report)) return true;
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
