// The key reference drawn over the editor, with the editor's settings at its
// top. It takes every key while it is shown, so nothing in the song changes;
// the song plays on. `?` opens it except where `?` is typed text (a name,
// the file chooser); Shift+F1 opens it everywhere.
#pragma once

#include "editor/key_bindings.h"
#include "editor/key_handler.h"

namespace qc {

struct HelpOverlay {
  bool open = false;
  int page = 0;
  KeyContext first = KeyContext::Pattern;  // the context that had the focus
};

const HelpOverlay& helpOverlay();
// True when the key was the overlay's: it opened it or it is open.
bool helpOverlayKey(const KeyEvent& key);
int helpPageCount();
void drawHelpOverlay();
void closeHelpOverlay();

}  // namespace qc
