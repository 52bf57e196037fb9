// --export-qcs: one sample slot as optimized sample banks.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runExportQcs(int argc, char** argv);

}  // namespace qc
