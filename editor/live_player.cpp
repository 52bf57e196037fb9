#include "editor/live_player.h"

#include "playback/player.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

namespace {

void followCursor(int32_t order, int32_t row) {
  if (!app.editor.cursorFollow) return;
  app.editor.orderCursor = order;
  app.editor.cursorRow = row;
}

// The main thread changes the editor only under the audio lock, so taking
// its options at the start of a callback is as early as the player could see them.
void takeEditorOptions() {
  EditorState& e = app.editor;
  PlayerOptions& o = app.player.options;
  o.repeatBlock = e.repeatBlock;
  o.repeatStartRow = e.repeatStartRow;
  o.repeatEndRow = e.repeatEndRow;
  o.metronome = e.metronome;
  if (e.channelMaskChanged) {
    setChannelMask(app.player, e.channelMask);
    e.channelMaskChanged = false;
  }
}

}  // namespace

void resetLivePlayer() {
  AudioLock lock;
  app.player = Player(app.song, &app.engine);
  app.player.onRowAdvance = followCursor;
  takeEditorOptions();
}

void initLivePlayback() {
  AudioLock lock;
  initAudioEngine(app.engine, app.song.ntsc);
  resetPlayer(app.player);
}

void fillLiveAudio(int16_t* destination, int count) {
  takeEditorOptions();
  fillAudio(app.engine, &app.player, destination, count);
}

void playSong() {
  AudioLock lock;
  takeEditorOptions();
  playSong(app.player, app.editor.orderCursor);
}

void playFromCursor() {
  AudioLock lock;
  takeEditorOptions();
  playFromCursor(app.player, app.editor.orderCursor, app.editor.cursorRow);
}

void stopPlayback() {
  AudioLock lock;
  stopPlayback(app.player);
}

void resetPlayer() {
  AudioLock lock;
  resetPlayer(app.player);
}

bool isPlaying() {
  AudioLock lock;
  return app.player.playing;
}

std::optional<PlayingRow> playingRow() {
  AudioLock lock;
  if (!app.player.playing) return std::nullopt;
  return PlayingRow{app.player.playOrder, app.player.playRow};
}

void requestClockChange() {
  AudioLock lock;
  app.player.clockChanged = true;
}

void haltForLoad() {
  AudioLock lock;
  app.player.playing = false;
  app.player.returnRow = -1;
  app.player.silenceRequest = true;
}

void rewindForNewSong() {
  AudioLock lock;
  Player& p = app.player;
  p.playOrder = p.playRow = 0;
  p.clockChanged = true;
  p.speed = kStartSpeed;
  p.tempo = kStartTempo;
}

void previewNote(int channel, const Cell& cell) {
  AudioLock lock;
  triggerNote(app.player, channel, cell);
}

void silenceCursorChannel() {
  AudioLock lock;
  silenceChannel(app.player, app.editor.cursorChannel);
}

}  // namespace qc
