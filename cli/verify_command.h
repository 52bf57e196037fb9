// --verify: both exports played on the emulated console against the editor's player.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after a line naming the first difference).
int runVerify(int argc, char** argv);

}  // namespace qc
