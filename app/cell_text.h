// The texts of one pattern cell as the pattern view shows them.
#pragma once

#include <string>

#include "song/song.h"

namespace qc {

struct CellText {
  std::string note;        // "C-4", "OFF" or three dots
  std::string instrument;  // one hex digit or a dot
  std::string effect;      // one hex digit or a dot
  std::string param;       // two hex digits in typed order, then the track bar
};

// A tone-track cell.
CellText formatCell(const Cell& cell);
// A PCM-track cell: "x" and the sample slot in hex, or three dots.
std::string formatSampleCell(const Cell& cell);

}  // namespace qc
