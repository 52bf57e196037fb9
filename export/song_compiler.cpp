#include "export/song_compiler.h"

#include "export/nsf_layout.h"
#include "playback/loop_point.h"
#include "playback/sequencer.h"

namespace qc {

namespace {

void say(const CompileReport& report, const std::string& line) {
  if (report) report(line);
}

}  // namespace

bool compileSong(const Song& song, SongStreams& out, const CompileReport& report) {
  PlayerOptions options;
  options.capture = true;
  Player player(song, nullptr, options);
  startSong(player);
  LoopPointFinder loop(player.playOrder, player.playRow);
  for (;;) {
    player.capture.field.fill(-1);
    const int passes = int(out.channels[0].orderList.size());
    say(report, "order " + std::to_string(player.playOrder) + " entried at row " + std::to_string(player.playRow));
    say(report, "  pulse orders = " + std::to_string(passes));
    if (loop.looped()) {
      say(report, "  order already entried, loop point found, bailing out");
      say(report, "  loop point = " + std::to_string(loop.loopPoint()));
      out.loopPoint = loop.loopPoint();
      return true;
    }
    if (passes == kMaxOrderPasses) return false;
    // Plays until a tick moves playback to another order or back to an earlier row.
    OrderPass pass;
    do {
      if (pass.size() == size_t(kMaxPatternTicks)) return false;
      playerFrame(player);
      pass.push_back(player.capture.field);
    } while (!loop.entered(player.playOrder, player.playRow));
    commitPass(out, pass);
  }
}

}  // namespace qc
