// The key table laid out for reading: grouped by context, the context that
// has the focus first. The help overlay, `--keys` and the docs use it.
#pragma once

#include <string>
#include <vector>

#include "editor/key_bindings.h"
#include "song/editor_state.h"

namespace qc {

struct ReferenceLine {
  std::string key;     // the context's title on a heading line
  std::string action;
  bool heading = false;
};

KeyContext focusedContext(const EditorState& editor);
std::vector<KeyContext> contextsInOrder(KeyContext first);
// The whole table, with the piano keys' layout after the keys for everywhere.
std::vector<ReferenceLine> referenceLines(KeyContext first);
// Wide enough for every key label.
int keyColumnWidth();

// The one line printed at start-up: which keys show the help.
std::string helpHint();
// Plain text, as `--keys` prints it.
std::string keyReferenceText();
// Markdown tables, one per context (docs/keys.md).
std::string keyReferenceMarkdown();
// The README's short guide: the basic rows as a list.
std::string keyGuideMarkdown();

}  // namespace qc
