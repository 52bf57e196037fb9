#include "cli/command_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qc {

bool readModuleArgument(const std::string& path, ParsedModule& out) {
  ReadReport report;
  if (readModuleFile(path, out, &report)) return true;
  std::fprintf(stderr, "quillchanter: %s: %s\n", path.c_str(), report.describe().c_str());
  return false;
}

void reportWriteFailure(const std::string& path) {
  const char* reason = errno == EEXIST ? "not a regular file, left as it is" : std::strerror(errno);
  std::fprintf(stderr, "quillchanter: %s: cannot write: %s\n", path.c_str(), reason);
}

int finishStandardOutput() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  std::fprintf(stderr, "quillchanter: cannot write to standard output: %s\n", std::strerror(errno));
  return 1;
}

int usageError(const char* usage) {
  std::fprintf(stderr, "usage: quillchanter %s\n", usage);
  return 1;
}

}  // namespace qc
