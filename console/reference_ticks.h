// The editor's own player as the reference that the console's playback of
// the exports must reproduce. This is the one place the verification drives
// players: each reference makes its own.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "export/tick_stream.h"
#include "song/song.h"

namespace qc {

// The NSF export of the song and what the editor's player plays: every
// tick's ExportCapture from the top until playback first returns to the loop
// point. After its last tick the driver must go on at loopTick.
struct NsfReference {
  std::vector<uint8_t> file;
  std::vector<TickFields> ticks;
  size_t loopTick = 0;
};
// Nothing when the song cannot be exported as NSF. Prints nothing.
std::optional<NsfReference> nsfReference(const Song& song);

struct FrameWrite {
  uint16_t address;
  uint8_t value;
  bool operator==(const FrameWrite&) const = default;
};

// One frame of the cartridge's reference: the editor's player with the
// cartridge's row timing, its start at speed 6 and tempo 125, and the period
// table of the console's standard, whose entry 0 holds 31337 there.
struct CartridgeFrame {
  std::vector<FrameWrite> writes;  // $4000-$4017 but $4011, in order
  int sample = 0;                     // the raw sample a row start triggers, 0 none
  int32_t order = 0, row = 0, tick = 0;  // where the frame plays
};

// The frames of the song on a console of the given standard, up to the tick
// that reaches the loop point and `beyond` more; nothing when no loop point
// comes within maxFrames.
std::optional<std::vector<CartridgeFrame>> cartridgeReference(const Song& song, bool pal, int beyond, int maxFrames);

}  // namespace qc
