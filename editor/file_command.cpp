#include "editor/file_command.h"

#include "editor/status_line.h"

namespace qc {

namespace {

void dismiss(FileCommand) { setStatus("File selection canceled."); }

FileCommandRunner fileCommandRunner = dismiss;

}  // namespace

void setFileCommandRunner(FileCommandRunner runner) { fileCommandRunner = runner ? runner : dismiss; }

void runFileCommand(FileCommand command) { fileCommandRunner(command); }

}  // namespace qc
