// The instrument list (focus 3): choosing an instrument and typing its name.
#pragma once

#include "editor/key_handler.h"

namespace qc {

// True when the key was consumed; keys it leaves reach the global map.
bool instrumentListKey(const KeyEvent& key);

}  // namespace qc
