#include "editor/block_operations.h"

#include <algorithm>

#include "editor/pattern_editor.h"
#include "editor/undo_history.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kHighestTransposedNote = 127;

struct Block {
  int firstTrack, firstRow, width, height;
};

Block selection() {
  const EditorState& e = app.editor;
  const int firstTrack = std::clamp(std::min(e.selectionStartChannel, e.selectionEndChannel), 0, kChannels - 1);
  const int lastTrack = std::clamp(std::max(e.selectionStartChannel, e.selectionEndChannel), 0, kChannels - 1);
  const int firstRow = std::clamp(std::min(e.selectionStartRow, e.selectionEndRow), 0, kRows - 1);
  const int lastRow = std::clamp(std::max(e.selectionStartRow, e.selectionEndRow), 0, kRows - 1);
  return {firstTrack, firstRow, lastTrack - firstTrack + 1, lastRow - firstRow + 1};
}

template <typename Visit>
void forEachSelectedCell(Visit visit) {
  const Block b = selection();
  Pattern& pattern = shownPattern();
  for (int i = 0; i < b.height; ++i)
    for (int j = 0; j < b.width; ++j) visit(pattern.cells[b.firstTrack + j][b.firstRow + i], i, j);
}

void paste(bool skipEmpty) {
  const Clipboard& clip = app.clipboard;
  const EditorState& e = app.editor;
  recordPatternChange(shownPatternIndex());
  Pattern& pattern = shownPattern();
  for (int i = 0; i < clip.clipboardHeight && e.cursorRow + i < kRows; ++i) {
    for (int j = 0; j < clip.clipboardWidth && e.cursorChannel + j < kChannels; ++j) {
      const Cell& cell = clip.cells[i * clip.clipboardWidth + j];
      if (!(skipEmpty && cell.empty())) pattern.cells[e.cursorChannel + j][e.cursorRow + i] = cell;
    }
  }
}

}  // namespace

void copyBlock() {
  const Block b = selection();
  Clipboard& clip = app.clipboard;
  clip.clipboardWidth = b.width;
  clip.clipboardHeight = b.height;
  forEachSelectedCell([&](const Cell& cell, int i, int j) { clip.cells[i * b.width + j] = cell; });
}

void cutBlock() {
  copyBlock();
  clearBlock();
}

void clearBlock() {
  recordPatternChange(shownPatternIndex());
  forEachSelectedCell([](Cell& cell, int, int) { cell = Cell{}; });
}

void pasteBlock() { paste(false); }
void mixPasteBlock() { paste(true); }

void transposeBlock(int delta) {
  recordPatternChange(shownPatternIndex());
  // A value above 127 (a PCM sample number from 128 up) is never pulled down to 127.
  forEachSelectedCell([&](Cell& cell, int, int) {
    const int moved = cell.note + delta;
    if (cell.note >= 1 && cell.note <= kHighestTransposedNote && moved >= 1 && moved <= kHighestTransposedNote)
      cell.note = uint8_t(moved);
  });
}

}  // namespace qc
