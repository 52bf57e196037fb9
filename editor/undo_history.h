// Undo and redo of every change the keyboard makes to the song.
//
// A key press is one step. Before an editing operation changes a part of the
// song (a pattern, the order list, an instrument, a sample slot, the video
// mode) it records that part; when the key press ends, the parts that really
// changed become the step and the rest are dropped. Undo swaps the recorded
// parts with the song's, which turns the step into its own redo.
#pragma once

#include <cstddef>

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
// A loaded module is a new song: nothing before it can be undone.
void clearUndoHistory();
