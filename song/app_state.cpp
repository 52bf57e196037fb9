#include "song/app_state.h"

#include "editor/live_player.h"

namespace qc {

AppState app;

void resetToProgramStart() {
  app.song = Song{};
  writeProgramStartInstruments(app.song);
  app.editor = EditorState{};
  app.clipboard = Clipboard{};
  app.preview = PreviewState{};
  app.status = StatusLine{};
  app.running = true;
  app.lastAutosaveTime = 0;
  app.earlierBackupKept = false;
  resetLivePlayer();
}

}  // namespace qc
