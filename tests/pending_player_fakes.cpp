// Stand-ins for the player until it lands; removed when it does.
#include "playback/channel_update.h"
#include "playback/player.h"
#include "song/app_state.h"

bool triggerNote(int, const Cell&) { return true; }
void silenceCursorChannel() {}

void playSong() {
  PlayerState& p = app.player;
  p.returnRow = -1;
  p.playRow = app.editor.repeatBlock ? std::min(app.editor.repeatStartRow, app.editor.repeatEndRow) : 0;
  p.playTick = 0;
  p.playOrder = app.editor.orderCursor;
  p.playPatternOnly = false;
  p.sequencerRunning = p.playing = true;
}

void playFromCursor() {
  PlayerState& p = app.player;
  p.returnRow = p.playRow = app.editor.cursorRow;
  p.playTick = 0;
  p.playOrder = app.editor.orderCursor;
  p.playPatternOnly = true;
  p.sequencerRunning = p.playing = true;
}

void stopPlayback() {
  PlayerState& p = app.player;
  p.silenceRequest = true;
  p.playing = false;
  if (p.returnRow != -1) {
    p.playRow = p.returnRow;
    p.returnRow = -1;
  }
}
