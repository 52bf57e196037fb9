// --render of a module: the song played from the top into an audio file.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runRender(int argc, char** argv);

}  // namespace qc
