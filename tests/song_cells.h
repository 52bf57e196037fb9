// Writing pattern cells as the user types them.
#pragma once

#include <string>

#include "song/song.h"
#include "tools/shown_param.h"

namespace qc {

inline void putCell(Song& song, int pattern, int track, int row, int note, int instrument = 0, int effect = 0,
                    const std::string& param = "00") {
  Cell& c = song.patterns[pattern].cells[track][row];
  c.note = uint8_t(note);
  c.setInstrument(instrument);
  c.setEffect(effect);
  c.param = storedParam(param.c_str());
}

}  // namespace qc
