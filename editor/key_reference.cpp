#include "editor/key_reference.h"

#include <algorithm>
#include <cctype>

#include "editor/key_maps.h"

namespace qc {

namespace {

constexpr KeyContext kReadingOrder[] = {
    KeyContext::Global,         KeyContext::UndoRedo,       KeyContext::Pattern,
    KeyContext::OrderList,      KeyContext::Envelope,       KeyContext::InstrumentList,
    KeyContext::InstrumentName, KeyContext::FileChooser,    KeyContext::Mouse,
    KeyContext::Help,
};

std::string upper(int32_t sym) { return std::string(1, char(std::toupper(sym))); }

// The two rows of the piano: from the top row's first key, and from its first
// key below the current octave.
std::vector<ReferenceLine> pianoLayout() {
  std::string current, below;
  bool lower = false;
  for (const KeyValue& k : pianoKeys) {
    lower = lower || k.value < 0;
    std::string& row = lower ? below : current;
    if (!row.empty()) row += ' ';
    row += upper(k.sym);
  }
  return {{current, "Piano keys at the octave (C upwards)"}, {below, "Piano keys an octave lower"}};
}

std::string padded(const std::string& text, size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

// Markdown table cells: a bar or backslash would end the cell or escape.
std::string cell(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '|' || c == '\\' || c == '*') out += '\\';
    out += c;
  }
  return out;
}

// "? or Shift+F1": the keys that open the help.
std::string helpKeys() {
  std::string keys;
  for (const KeyBinding& b : keyBindings())
    if (b.context == KeyContext::Help && b.pairedKey == 0 && b.key != kKeyEscape)
      keys += (keys.empty() ? "" : " or ") + keyLabel(b);
  return keys;
}

}  // namespace

KeyContext focusedContext(const EditorState& editor) {
  switch (editor.focus) {
    case kFocusOrderList: return KeyContext::OrderList;
    case kFocusEnvelope: return KeyContext::Envelope;
    case kFocusInstrumentList: return editor.naming ? KeyContext::InstrumentName : KeyContext::InstrumentList;
    default: return KeyContext::Pattern;
  }
}

std::vector<KeyContext> contextsInOrder(KeyContext first) {
  std::vector<KeyContext> order{first};
  for (KeyContext c : kReadingOrder)
    if (c != first) order.push_back(c);
  return order;
}

std::vector<ReferenceLine> referenceLines(KeyContext first) {
  std::vector<ReferenceLine> lines;
  for (KeyContext context : contextsInOrder(first)) {
    lines.push_back({contextTitle(context), "", true});
    for (const KeyBinding& b : keyBindings())
      if (b.context == context) lines.push_back({keyLabel(b), b.action});
    if (context == KeyContext::Global) {
      const std::vector<ReferenceLine> piano = pianoLayout();
      lines.insert(lines.end(), piano.begin(), piano.end());
    }
  }
  return lines;
}

int keyColumnWidth() {
  size_t width = 0;
  for (const ReferenceLine& line : referenceLines(KeyContext::Global))
    if (!line.heading) width = std::max(width, line.key.size());
  return int(width);
}

std::string helpHint() {
  return "Press " + helpKeys() + " in the window for the keys and settings (quillchanter --keys lists the keys).";
}

std::string keyReferenceText() {
  const size_t width = size_t(keyColumnWidth());
  std::string text;
  for (const ReferenceLine& line : referenceLines(KeyContext::Global)) {
    if (line.heading && !text.empty()) text += '\n';
    text += line.heading ? line.key : "  " + padded(line.key, width) + "  " + line.action;
    text += '\n';
  }
  return text;
}

std::string keyReferenceMarkdown() {
  std::string text = "# Keys\n\nEvery key of the editor, as `quillchanter --keys` and the help in the window (" +
                     helpKeys() + ") list them.\n";
  for (const ReferenceLine& line : referenceLines(KeyContext::Global)) {
    if (line.heading) {
      text += "\n## " + line.key + "\n\n| Key | Does |\n|---|---|\n";
    } else {
      text += "| " + cell(line.key) + " | " + cell(line.action) + " |\n";
    }
  }
  return text;
}

std::string keyGuideMarkdown() {
  std::string text;
  for (KeyContext context : contextsInOrder(KeyContext::Global)) {
    std::string items;
    for (const KeyBinding& b : keyBindings())
      if (b.context == context && b.basic) items += "- " + cell(keyLabel(b)) + ": " + b.action + "\n";
    if (context == KeyContext::Pattern)
      for (const ReferenceLine& line : pianoLayout()) items += "- " + cell(line.key) + ": " + line.action + "\n";
    if (!items.empty()) text += (text.empty() ? "**" : "\n**") + std::string(contextTitle(context)) + "**\n\n" + items;
  }
  return text;
}

}  // namespace qc
