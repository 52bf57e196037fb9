// --verify: both exports played on the emulated console against the editor.
#pragma once

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runVerify(int argc, char** argv);
