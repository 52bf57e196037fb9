// --export-nsf: the song compiled into an NSF file.
#pragma once

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runExportNsf(int argc, char** argv);
