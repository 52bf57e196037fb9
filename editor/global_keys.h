// The global command map: keys the focused editor did not consume.
#pragma once

#include <optional>

#include "editor/file_command.h"
#include "editor/key_handler.h"

namespace qc {

// A file command is returned rather than run, so that it runs after the
// audio lock is released.
std::optional<FileCommand> globalCommandKey(const KeyEvent& key);

}  // namespace qc
