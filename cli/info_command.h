// --info: the module's contents as JSON on stdout.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runInfo(int argc, char** argv);

}  // namespace qc
