// One fuzz input through the module and instrument readers and the
// recording import (libsndfile's virtual I/O on the bytes), shared by the
// libFuzzer target and the fixed-seed test. Besides surviving any input, an
// accepted file must survive a write and read back as the same bytes; a
// broken round trip aborts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qc {

void runReaderHarness(const uint8_t* data, size_t size);

}  // namespace qc
