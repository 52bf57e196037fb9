// Writing pattern cells as the user types them.
#pragma once

#include <string>

#include "song/song.h"

namespace qc {

// A parameter as typed: "1A" is first digit 1 (the low nibble), second digit A.
inline uint8_t typedParam(const std::string& digits) {
  const int first = std::stoi(digits.substr(0, 1), nullptr, 16);
  const int second = std::stoi(digits.substr(1, 1), nullptr, 16);
  return uint8_t(first | (second << 4));
}

inline void putCell(Song& song, int pattern, int track, int row, int note, int instrument = 0, int effect = 0,
                    const std::string& param = "00") {
  Cell& c = song.patterns[pattern].cells[track][row];
  c.note = uint8_t(note);
  c.setInstrument(instrument);
  c.setEffect(effect);
  c.param = typedParam(param);
}

}  // namespace qc
