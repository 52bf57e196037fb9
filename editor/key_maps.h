// The piano and hex digit key maps, on SDL 1.2 key symbols.
#pragma once

#include <cstdint>
#include <optional>

namespace qc {

struct KeyValue {
  int32_t sym;
  int value;
};

// Semitone offset of each piano key; the note is offset + 1 + 12 * octave.
inline constexpr KeyValue pianoKeys[] = {
    {'q', 0},   {'2', 1},   {'w', 2},  {'3', 3},   {'e', 4},  {'r', 5},   {'5', 6},  {'t', 7},
    {'6', 8},   {'y', 9},   {'7', 10}, {'u', 11},  {'i', 12}, {'9', 13},  {'o', 14}, {'0', 15},
    {'p', 16},  {'z', -12}, {'s', -11}, {'x', -10}, {'d', -9}, {'c', -8},  {'v', -7}, {'g', -6},
    {'b', -5},  {'h', -4},  {'n', -3}, {'j', -2},  {'m', -1}, {',', 0},   {'l', 1},  {'.', 2},
};

// Lower-case key symbols only.
inline constexpr KeyValue hexKeys[] = {
    {'0', 0}, {'1', 1}, {'2', 2},   {'3', 3},   {'4', 4},   {'5', 5},   {'6', 6},   {'7', 7},
    {'8', 8}, {'9', 9}, {'a', 10}, {'b', 11}, {'c', 12}, {'d', 13}, {'e', 14}, {'f', 15},
};

std::optional<int> pianoKeyOffset(int32_t sym);
std::optional<int> hexKeyValue(int32_t sym);
// The note a piano key enters at the current octave, limited to 1..120.
int pianoNote(int offset);

}  // namespace qc
