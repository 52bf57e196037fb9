#include "playback/nonlinear_mapper.h"

#include <algorithm>

namespace qc {

NonlinearMapper::NonlinearMapper() {
  for (int32_t i = 0; i < int32_t(table.size()); ++i) {
    if (i <= 1024) {
      table[i] = uint16_t(i * 32);
      continue;
    }
    // The documented tnd output formula, 163.67 / (24329 / x + 100), scaled.
    const int32_t x = std::min(i - 1024, 767);
    table[i] = uint16_t(32768 + int32_t(42597.1 * 163.67 / (24329.0 / (x * 0.2633637548891786) + 100.0)));
  }
}

void NonlinearMapper::apply(DeltaBuffer& buffer, int32_t count) {
  uint16_t* entry = buffer.entries.data();
  int32_t level = integrator;
  int32_t previous = table[(level >> 5) & 2047];
  for (int32_t i = 0; i < count; ++i) {
    level += int32_t(entry[i]) - kRestEntry;
    const int32_t mapped = table[(level >> 5) & 2047];
    entry[i] = uint16_t(mapped - previous + kRestEntry);
    previous = mapped;
  }
  integrator = level;
}

}  // namespace qc
