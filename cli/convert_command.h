// --convert: any module version rewritten as version 4.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runConvert(int argc, char** argv);

}  // namespace qc
