// --keys: every key of the editor and what it does.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status.
int runKeys(int argc, char** argv);

}  // namespace qc
