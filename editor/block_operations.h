// Block operations on the selection in the shown pattern, and the clipboard.
#pragma once

namespace qc {

void copyBlock();
void cutBlock();
void clearBlock();
// Cells that would land beyond row 63 or track 4 are dropped.
void pasteBlock();
// As pasteBlock, but empty clipboard cells leave the pattern's cell alone.
void mixPasteBlock();
// Notes (and PCM sample numbers) by delta semitones, limited to 1..127;
// empty cells and note-offs stay.
void transposeBlock(int delta);

}  // namespace qc
