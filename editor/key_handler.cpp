#include "editor/key_handler.h"

#include <optional>

#include "editor/envelope_editor.h"
#include "editor/global_keys.h"
#include "editor/instrument_list.h"
#include "editor/key_codes.h"
#include "editor/note_preview.h"
#include "editor/order_list_editor.h"
#include "editor/pattern_editor.h"
#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

namespace {

// Ctrl+Z and Ctrl+Y, with either Ctrl and neither Shift nor Alt.
bool undoKey(const KeyEvent& key) {
  if ((key.mod & kModCtrl) == 0 || (key.mod & (kModShift | kModAlt)) != 0) return false;
  if (key.sym == 'z') {
    setStatus(undo() ? "Undo" : "Nothing to undo");
    return true;
  }
  if (key.sym == 'y') {
    setStatus(redo() ? "Redo" : "Nothing to redo");
    return true;
  }
  return false;
}

bool focusedEditorKey(const KeyEvent& key) {
  switch (app.editor.focus) {
    case kFocusPattern: return patternEditorKey(key);
    case kFocusOrderList: return orderListKey(key);
    case kFocusEnvelope: return envelopeEditorKey(key);
    case kFocusInstrumentList: return instrumentListKey(key);
    default: return false;
  }
}

std::optional<FileCommand> editingKey(const KeyEvent& key) {
  if (undoKey(key) || focusedEditorKey(key)) return std::nullopt;
  return globalCommandKey(key);
}

}  // namespace

void handleKeyDown(const KeyEvent& key) {
  std::optional<FileCommand> command;
  {
    AudioLock lock;
    beginUndoStep();
    command = editingKey(key);
    endUndoStep();
  }
  if (command) runFileCommand(*command);
}

void handleKeyUp(const KeyEvent& key) {
  AudioLock lock;
  if (app.editor.focus == kFocusInstrumentList && app.editor.naming) return;
  endPreview(key.sym);
}

}  // namespace qc
