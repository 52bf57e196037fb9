#include <algorithm>
#include <cmath>

#include "playback/channel_update.h"
#include "playback/metronome.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace {

void wrapToNextOrder(PlayerState& p) {
  if (++p.playOrder >= app.song.orderCount) p.playOrder = 0;
}

// Drops the accumulator's remainder (the editor's timing only) and restarts
// the modulation cycles.
void patternChangeReset(PlayerState& p) {
  if (p.rowTiming == RowTiming::kEditor) p.tempoAccumulator = 0;
  for (ChannelState& c : p.channels) {
    c.vibratoPos = 0;
    c.arpStep = 0;
  }
}

void advanceRow(PlayerState& p) {
  const EditorState& e = app.editor;
  const int32_t lo = std::min(e.repeatStartRow, e.repeatEndRow);
  const int32_t hi = std::max(e.repeatStartRow, e.repeatEndRow);
  const bool blockEnd = e.repeatBlock && p.playRow == hi;
  const bool holdOrder = p.playPatternOnly || e.repeatBlock;

  p.tempoAccumulator -= rowThreshold();
  p.playTick = 0;
  // A pending break wins; a jump pending beside it waits for the next advance.
  if (p.pendingBreakRow != -1) {
    if (!holdOrder) wrapToNextOrder(p);
    p.playRow = p.pendingBreakRow >= kRows ? 0 : p.pendingBreakRow;
    p.pendingBreakRow = -1;
    patternChangeReset(p);
  } else if (p.pendingOrderJump != -1) {
    if (!holdOrder) p.playOrder = std::min(p.pendingOrderJump, app.song.orderCount - 1);
    p.playRow = 0;
    p.pendingOrderJump = -1;
    patternChangeReset(p);
  } else if (!blockEnd && p.playRow + 1 < kRows) {
    ++p.playRow;
  } else {
    if (!holdOrder) wrapToNextOrder(p);
    p.playRow = blockEnd ? lo : 0;
    patternChangeReset(p);
  }

  if (!p.exportMode && e.cursorFollow) {
    app.editor.orderCursor = p.playOrder;
    app.editor.cursorRow = p.playRow;
  }
}

// Speed 0 adds nothing: the row never advances (effect F00).
int32_t tempoIncrement(const PlayerState& p) {
  if (p.speed == 0) return 0;
  if (p.rowTiming == RowTiming::kEditor) return int32_t(std::ceil(p.tempo * 256.0 / p.speed));
  return uint16_t(p.tempo * 256) / uint16_t(p.speed);
}

void startPlayback(int32_t row, int32_t returnRow, bool patternOnly) {
  AudioLock lock;
  PlayerState& p = app.player;
  p.returnRow = returnRow;
  p.playRow = row;
  p.playTick = 0;
  p.playOrder = app.editor.orderCursor;
  resetPlayer();
  p.playPatternOnly = patternOnly;
  p.sequencerRunning = true;
  p.playing = true;
}

}  // namespace

void resetPlayer() {
  AudioLock lock;
  PlayerState& p = app.player;
  buildPeriodTable();
  p.channels.fill(ChannelState{});  // every field zero but lastPeriod and dutyOverride (-1)
  p.apuResetRequest = true;
  p.tempoAccumulator = 0;
  buildVibratoTable();
}

void playSong() {
  const EditorState& e = app.editor;
  startPlayback(e.repeatBlock ? std::min(e.repeatStartRow, e.repeatEndRow) : 0, -1, false);
}

void playFromCursor() { startPlayback(app.editor.cursorRow, app.editor.cursorRow, true); }

void stopPlayback() {
  AudioLock lock;
  PlayerState& p = app.player;
  p.silenceRequest = true;
  p.playing = false;
  if (p.returnRow != -1) {
    p.playRow = p.returnRow;
    p.returnRow = -1;
  }
}

void playerFrame() {
  PlayerState& p = app.player;
  if (!p.sequencerRunning) {
    idleChannels();
    return;
  }
  if (p.sampleLoopPending) {
    p.sampleLoopPending = false;
    p.pcmPosition = 0.0;
  }
  if (p.playTick == 0)
    startRow();
  else
    tickChannels();
  writeChannelRegisters();
  metronomeFrame();
  ++p.playTick;
  p.tempoAccumulator += tempoIncrement(p);
  if (p.tempoAccumulator >= rowThreshold()) advanceRow(p);
}
