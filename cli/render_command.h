// --render: the song played from the top into an audio file, or an exported
// .nsf or .nes file played on the emulated console.
#pragma once

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runRender(int argc, char** argv);
// Dispatches by MODULE's name: .nsf and .nes play on the console, any other is a module.
int runRenderFile(int argc, char** argv);
