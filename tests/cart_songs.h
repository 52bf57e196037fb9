// Small songs for the export tests, built cell by cell.
#pragma once

#include "song/song.h"
#include "tests/song_cells.h"

namespace qc {

// Every effect of the channel update on the four tone channels, envelopes
// with loops and fixed notes, note off and instrument-only cells, delayed
// notes, speed and tempo changes, a break and a jump on the same row, a
// break past the last order, and a slide long enough to saturate the
// cartridge's 16-bit period offset.
Song effectsSong();

// Orders that wrap at the end of the last pattern, a jump past the order
// list, a break past row 63, and arpeggios across pattern changes.
Song wrappingSong();

// Three orders, the last jumping back to the second: envelopes, effects,
// tempo and speed changes, note-offs, and triggers of a long, a looping, an
// empty and a short sample.
Song samplesSong(bool ntsc);

}  // namespace qc
