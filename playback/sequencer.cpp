#include "playback/sequencer.h"

#include <algorithm>
#include <cmath>

#include "playback/channel_update.h"
#include "playback/metronome.h"
#include "playback/player_tables.h"
#include "playback/register_output.h"

namespace qc {

namespace {

void wrapToNextOrder(Player& p) {
  if (++p.playOrder >= p.song->orderCount) p.playOrder = 0;
}

// Drops the accumulator's remainder (the editor's timing only) and restarts
// the modulation cycles.
void patternChangeReset(Player& p) {
  if (p.options.rowTiming == RowTiming::kEditor) p.tempoAccumulator = 0;
  for (ChannelState& c : p.channels) {
    c.vibratoPos = 0;
    c.arpStep = 0;
  }
}

void advanceRow(Player& p) {
  const PlayerOptions& o = p.options;
  const int32_t lo = std::min(o.repeatStartRow, o.repeatEndRow);
  const int32_t hi = std::max(o.repeatStartRow, o.repeatEndRow);
  const bool blockEnd = o.repeatBlock && p.playRow == hi;
  const bool holdOrder = p.playPatternOnly || o.repeatBlock;

  p.tempoAccumulator -= rowThreshold(p);
  p.playTick = 0;
  // A pending break wins; a jump pending beside it waits for the next advance.
  if (p.pendingBreakRow != -1) {
    if (!holdOrder) wrapToNextOrder(p);
    p.playRow = p.pendingBreakRow >= kRows ? 0 : p.pendingBreakRow;
    p.pendingBreakRow = -1;
    patternChangeReset(p);
  } else if (p.pendingOrderJump != -1) {
    if (!holdOrder) p.playOrder = std::min(p.pendingOrderJump, p.song->orderCount - 1);
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
  if (p.onRowAdvance) p.onRowAdvance(p.playOrder, p.playRow);
}

// Speed 0 adds nothing: the row never advances (effect F00).
int32_t tempoIncrement(const Player& p) {
  if (p.speed == 0) return 0;
  if (p.options.rowTiming == RowTiming::kEditor) return int32_t(std::ceil(p.tempo * 256.0 / p.speed));
  return uint16_t(p.tempo * 256) / uint16_t(p.speed);
}

void startPlayback(Player& p, int32_t order, int32_t row, int32_t returnRow, bool patternOnly) {
  p.returnRow = returnRow;
  p.playRow = row;
  p.playTick = 0;
  p.playOrder = order;
  resetPlayer(p);
  p.playPatternOnly = patternOnly;
  p.sequencerRunning = true;
  p.playing = true;
}

}  // namespace

void resetPlayer(Player& p) {
  buildPeriodTable(p);
  p.channels.fill(ChannelState{});  // every field zero but lastPeriod and dutyOverride (-1)
  p.apuResetRequest = true;
  p.tempoAccumulator = 0;
  buildVibratoTable(p);
}

void playSong(Player& p, int32_t order) {
  const PlayerOptions& o = p.options;
  startPlayback(p, order, o.repeatBlock ? std::min(o.repeatStartRow, o.repeatEndRow) : 0, -1, false);
}

void playFromCursor(Player& p, int32_t order, int32_t row) { startPlayback(p, order, row, row, true); }

void stopPlayback(Player& p) {
  p.silenceRequest = true;
  p.playing = false;
  if (p.returnRow != -1) {
    p.playRow = p.returnRow;
    p.returnRow = -1;
  }
}

void startSong(Player& p) {
  p.speed = kStartSpeed;
  p.tempo = kStartTempo;
  p.pendingOrderJump = -1;
  p.pendingBreakRow = -1;
  startPlayback(p, 0, 0, -1, false);
}

void playerFrame(Player& p) {
  if (!p.sequencerRunning) {
    idleChannels(p);
    return;
  }
  if (p.sampleLoopPending) {
    p.sampleLoopPending = false;
    p.pcmPosition = 0.0;
  }
  if (p.playTick == 0)
    startRow(p);
  else
    tickChannels(p);
  writeChannelRegisters(p);
  metronomeFrame(p);
  ++p.playTick;
  p.tempoAccumulator += tempoIncrement(p);
  if (p.tempoAccumulator >= rowThreshold(p)) advanceRow(p);
}

}  // namespace qc
