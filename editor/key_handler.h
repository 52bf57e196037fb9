// Entry points for key events from the window.
#pragma once

#include <cstdint>

namespace qc {

// SDL 1.2's keyboard record, as far as the editor reads it.
struct KeyEvent {
  int32_t sym = 0;        // SDL 1.2 key symbol
  int32_t mod = 0;        // KMOD bits
  uint16_t unicode = 0;   // translated character, 0 if none
};

void handleKeyDown(const KeyEvent& key);
void handleKeyUp(const KeyEvent& key);

}  // namespace qc
