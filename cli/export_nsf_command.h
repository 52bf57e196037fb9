// --export-nsf and --export-nsfe: the song compiled into an NSF or NSFe file.
#pragma once

namespace qc {

// argv[0] is the command's name; returns the exit status (1 after one line on stderr).
int runExportNsf(int argc, char** argv);
int runExportNsfe(int argc, char** argv);

}  // namespace qc
