#include "export/song_compiler.h"

#include <cstdio>
#include <map>

#include "export/nsf_layout.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/shell_services.h"

ExportSession::ExportSession() {
  shell.pauseAudio(true);
  shell.lockAudio();
  savedPlayer_ = app.player;
  savedRepeatBlock_ = app.editor.repeatBlock;
}

ExportSession::~ExportSession() {
  app.player = savedPlayer_;
  app.editor.repeatBlock = savedRepeatBlock_;
  shell.unlockAudio();
  shell.pauseAudio(false);
}

namespace {


// Plays from the entered position until a tick moves playback to another
// order or back to an earlier row; false past the longest storable pass.
bool playPass(OrderPass& pass) {
  PlayerState& p = app.player;
  const int32_t order = p.playOrder;
  int32_t rowBefore;
  do {
    if (pass.size() == size_t(kMaxPatternTicks)) return false;
    rowBefore = p.playRow;
    playerFrame();
    pass.push_back(p.capture.field);
  } while (p.playRow >= rowBefore && p.playOrder == order);
  return true;
}

}  // namespace

void startExportSimulation() {
  PlayerState& p = app.player;
  resetPlayer();
  p.tempo = 125;
  p.speed = 6;
  p.playOrder = 0;
  p.playRow = 0;
  p.playTick = 0;
  p.tempoAccumulator = 0;
  p.playPatternOnly = false;
  app.editor.repeatBlock = false;
  // A break or jump left pending by the editor's playback is no part of the song.
  p.pendingOrderJump = -1;
  p.pendingBreakRow = -1;
  p.sequencerRunning = true;
  p.exportMode = true;
}

bool compileSong(SongStreams& out) {
  PlayerState& p = app.player;
  startExportSimulation();
  std::map<int32_t, int> entries;  // order * 256 + row -> pass index
  bool reachedLoop = false;
  for (;;) {
    p.capture.field.fill(-1);
    int32_t key = p.playOrder * 256 + p.playRow;
    int passes = int(out.channels[0].orderList.size());
    std::printf("order %d entried at row %d\n", p.playOrder, p.playRow);
    std::printf("  pulse orders = %d\n", passes);
    auto known = entries.find(key);
    if (known != entries.end()) {
      std::printf("  order already entried, loop point found, bailing out\n");
      std::printf("  loop point = %d\n", known->second);
      out.loopPoint = known->second;
      reachedLoop = true;
      break;
    }
    OrderPass pass;
    if (passes == kMaxOrderPasses || !playPass(pass)) break;
    entries[key] = passes;
    commitPass(out, pass);
  }
  p.exportMode = false;
  p.sequencerRunning = false;
  return reachedLoop;
}
