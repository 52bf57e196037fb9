// What every batch command shares: reading its module and the one-line
// reports on stderr.
#pragma once

#include <string>

#include "song/module_file.h"

namespace qc {

// Parses the file at path; on failure prints "quillchanter: PATH: REASON".
bool readModuleArgument(const std::string& path, ParsedModule& out);

// Prints "quillchanter: PATH: cannot write: REASON" from errno.
void reportWriteFailure(const std::string& path);

// Flushes what a command printed: 0, or 1 after a line on stderr saying
// that standard output failed (a full disk, a closed pipe).
int finishStandardOutput();

// Prints "usage: quillchanter USAGE" and returns 1.
int usageError(const char* usage);

}  // namespace qc
