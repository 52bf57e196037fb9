// The song compiler: runs the player silently in export mode from order 0,
// tick by tick, and records each tick's ExportCapture as order passes, until
// playback enters an order at a row it entered before (the loop point).
//
// A pass starts where playback enters an order position (at the start, and
// after every tick that moved it to another order or back to an earlier
// row). Progress goes to stdout: two lines per pass and two at the loop.
#pragma once

#include "export/stream_patterns.h"

// Holds the audio paused and locked and the player state saved for its
// lifetime; the destructor puts back everything the export touched.
class ExportSession {
 public:
  ExportSession();
  ~ExportSession();
  ExportSession(const ExportSession&) = delete;
  ExportSession& operator=(const ExportSession&) = delete;

 private:
  PlayerState savedPlayer_;
  bool savedRepeatBlock_;
};

// Puts the player at order 0, row 0 with a new song's speed and tempo, in
// export mode: no register writes, no cursor movement.
void startExportSimulation();

// Compiles app.song into deduplicated streams; call inside an ExportSession.
// False when the song breaks a limit of the format before its loop point:
// more than 255 order passes, or a pass longer than 65536 ticks (speed 0
// never leaves its row).
bool compileSong(SongStreams& out);
