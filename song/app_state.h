// The one application-wide state. The main thread changes it only while it
// holds the audio lock, so the audio thread never sees a half-made change.
// The player and engine here are the live ones the audio device plays; only
// the editor's player (editor/live_player.h) and the audio device use them.
#pragma once

#include <cstdint>
#include <string>

#include "playback/engine.h"
#include "playback/player_state.h"
#include "song/editor_state.h"
#include "song/song.h"

namespace qc {

struct StatusLine {
  std::string text;
  uint32_t stamp = 0;  // ms tick the message's age is measured from
};

struct AppState {
  Song song;
  EditorState editor;
  Player player{song, &engine};
  Clipboard clipboard;
  PreviewState preview;
  StatusLine status;
  bool running = true;
  uint32_t lastAutosaveTime = 0;
  bool earlierBackupKept = false;  // an earlier run's backup.qcm was moved aside (or there was none)
  Engine engine;
};

extern AppState app;

// Puts the whole state back to how a freshly started program holds it.
void resetToProgramStart();

}  // namespace qc
