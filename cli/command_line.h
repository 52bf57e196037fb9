// The batch command line: `quillchanter --COMMAND ...` runs without a window.
#pragma once

namespace qc {

// Runs the command named by argv[1]; returns the process exit status
// (0 success, 1 failure with one line on stderr).
int runCommandLine(int argc, char** argv);

}  // namespace qc
