// Synthetic key events and a fresh program state for the editor tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "editor/key_codes.h"
#include "editor/key_handler.h"
#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

inline void press(int32_t sym, int32_t mod = 0, uint16_t unicode = 0) { handleKeyDown({sym, mod, unicode}); }
inline void release(int32_t sym, int32_t mod = 0) { handleKeyUp({sym, mod, 0}); }
// Presses each key in turn, all with the same modifiers.
inline void pressEach(std::initializer_list<int32_t> syms, int32_t mod = 0) {
  for (int32_t sym : syms) press(sym, mod);
}
// A printable key as SDL delivers it with Unicode translation on.
inline void type(char ch) { press(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch, 0, uint16_t(ch)); }

inline Cell& cellAt(int track, int row, int pattern = 0) { return app.song.patterns[pattern].cells[track][row]; }

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    clearUndoHistory();
    savedTicks = shell.ticks;
    shell.ticks = [] { return uint32_t(100000); };
  }
  void TearDown() override { shell.ticks = savedTicks; }

  static void editMode() { app.editor.editMode = true; }
  static std::string statusAfter(int32_t sym, int32_t mod = 0) {
    app.status.text.clear();
    press(sym, mod);
    return app.status.text;
  }

  uint32_t (*savedTicks)() = nullptr;
};

}  // namespace qc
