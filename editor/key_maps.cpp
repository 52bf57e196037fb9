#include "editor/key_maps.h"

#include <algorithm>

#include "song/app_state.h"

namespace qc {

namespace {

template <size_t N>
std::optional<int> lookUp(const KeyValue (&map)[N], int32_t sym) {
  for (const KeyValue& key : map)
    if (key.sym == sym) return key.value;
  return std::nullopt;
}

}  // namespace

std::optional<int> pianoKeyOffset(int32_t sym) { return lookUp(pianoKeys, sym); }
std::optional<int> hexKeyValue(int32_t sym) { return lookUp(hexKeys, sym); }

int pianoNote(int offset) { return std::clamp(offset + 1 + 12 * app.editor.octave, 1, kMaxNote); }

}  // namespace qc
