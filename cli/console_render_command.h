// --render of a module, or of an exported .nsf or .nes file played on the console.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
// Dispatches by MODULE's name: .nsf and .nes play on the console, any other is a module.
int runRenderFile(int argc, char** argv);

}  // namespace qc
