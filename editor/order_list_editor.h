// The order list editor (focus 1).
#pragma once

#include "editor/key_handler.h"

namespace qc {

// True when the key was consumed, also when it changed nothing.
bool orderListKey(const KeyEvent& key);

}  // namespace qc
