// Undo and redo of every change the keyboard makes to the song.
//
// A key press is one step. Before an editing operation changes a part of the
// song (a pattern, the order list, an instrument, a sample slot, the video
// mode) it records that part; when the key press ends, the parts that really
// changed become the step and the rest are dropped. Undo swaps the recorded
// parts with the song's, which turns the step into its own redo.
#pragma once

#include <cstddef>
#include <memory>

#include "song/song.h"

namespace qc {

inline constexpr size_t kUndoDepth = 1000;

void beginUndoStep();
void endUndoStep();

// Outside a step (no key press being handled) these record nothing.
void recordPatternChange(int pattern);
void recordOrderListChange();
void recordInstrumentChange(int slot);
void recordSampleChange(int slot);
// For a change of the loop flag alone: the sample's bytes are not copied.
void recordSampleLoopChange(int slot);
void recordVideoModeChange();

// Both return false when there is nothing to undo or redo.
bool undo();
bool redo();
// An opened module replaced `previous`: one step whose undo brings the
// previous song back whole and whose redo opens the module again. The song
// counts as saved, since it is what the file holds.
void recordOpenedModule(std::unique_ptr<Song> previous);
// Empties the history; the song counts as saved.
void clearUndoHistory();

// "Unsaved": a step recorded, undone or redone (an edit, a sample import or
// slice, a loaded instrument) since the module was opened, saved or autosaved.
bool unsavedChanges();
void markSongSaved();

}  // namespace qc
