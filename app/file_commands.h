// The file commands: each asks for a path with a file dialog and,
// once the dialog closes, hands it to a reader or writer and reports the
// outcome on the status line. A cancelled dialog shows "File selection
// canceled." and changes nothing. Loading an instrument or a raw sample is
// one undoable step.
#pragma once

#include <string>

#include "editor/file_command.h"

namespace qc {

// The runner the window registers: opens the command's dialog.
void startFileCommand(FileCommand command);
// The command's work on a chosen path, with its status message.
void performFileCommand(FileCommand command, const std::string& path);

}  // namespace qc
