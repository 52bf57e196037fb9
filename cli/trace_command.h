// --trace: the register values of every tick, to the loop point.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runTrace(int argc, char** argv);

}  // namespace qc
