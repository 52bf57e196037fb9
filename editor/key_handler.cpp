#include "editor/key_handler.h"

#include "song/app_state.h"

namespace {
constexpr int32_t kKeyEscape = 27;
constexpr int32_t kModShift = 0x0003;
}  // namespace

void handleKeyDown(const KeyEvent& key) {
  if (key.sym == kKeyEscape && (key.mod & kModShift)) app.running = false;
}

void handleKeyUp(const KeyEvent&) {}
