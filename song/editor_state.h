// The editor's cursor, modes and marks, kept beside the song.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "song/song.h"

namespace qc {

enum Focus { kFocusPattern = 0, kFocusOrderList = 1, kFocusEnvelope = 2, kFocusInstrumentList = 3 };

struct EditorState {
  int32_t focus = kFocusPattern;
  bool naming = false;
  bool editMode = false;
  int32_t cursorRow = 0;
  int32_t cursorChannel = 0;
  int32_t cursorColumn = 0;  // 0 note, 1 instrument, 2 effect, 3 and 4 parameter digits
  int32_t orderCursor = 0;
  int32_t octave = 3;
  int32_t step = 1;
  int32_t currentInstrument = 1;
  int32_t currentSample = 0;
  int32_t selectedEnvelope = 0;
  std::array<int32_t, kEnvelopeKinds> envelopeCursor{};
  int32_t nameCursor = 0;
  bool repeatBlock = false;
  int32_t repeatStartRow = 0;
  int32_t repeatEndRow = 63;
  bool repeatAnchorSet = false;
  int32_t selectionStartRow = 0;
  int32_t selectionEndRow = 0;
  int32_t selectionStartChannel = 0;
  int32_t selectionEndChannel = 0;
  bool selectionAnchorSet = false;
  bool cursorFollow = true;
  bool metronome = false;
  uint32_t channelMask = 31;  // bit c set = track c audible
  bool channelMaskChanged = true;
  bool operator==(const EditorState&) const = default;
};

// Block clipboard, row by row: cell (i, j) at index i * clipboardWidth + j.
// Not part of the song; survives module loads.
struct Clipboard {
  std::array<Cell, kChannels * kRows> cells{};
  int32_t clipboardWidth = 0;
  int32_t clipboardHeight = 0;
  bool operator==(const Clipboard&) const = default;
};

// Piano keys held for preview, most recent last.
struct PreviewState {
  std::array<bool, 512> pianoKeyDown{};  // indexed by SDL 1.2 key symbol
  std::vector<int32_t> heldPianoKeys;
  bool operator==(const PreviewState&) const = default;
};

}  // namespace qc
