// The 2A03's triangle/noise/sample output stage is not linear: the louder the
// three channels together, the less each adds. The mapper integrates a
// DeltaBuffer's changes, looks the level up in a table of that curve and
// writes the changes of the looked-up level back.
#pragma once

#include <array>
#include <cstdint>

#include "playback/delta_buffer.h"

namespace qc {

inline constexpr int32_t kMapperRest = 0x8000;  // integrator at silence: table index 1024

struct NonlinearMapper {
  std::array<uint16_t, 2048> table{};
  int32_t integrator = kMapperRest;
  bool enabled = false;

  NonlinearMapper();
  // Rewrites the first count entries of the buffer through the table.
  void apply(DeltaBuffer& buffer, int32_t count);
};

}  // namespace qc
