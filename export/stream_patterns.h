// Order passes deduplicated per channel into stream patterns: the data of the
// NSF export before it is laid out in banks.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "export/tick_stream.h"

namespace qc {

// One order pass: the ExportCapture of each of its ticks.
using OrderPass = std::vector<TickFields>;

struct StreamPattern {
  std::vector<int32_t> records;  // the channel's fields, tick after tick
  std::vector<uint8_t> bytes;    // their bit stream
  int ticks = 0;
};

struct ChannelStreams {
  std::vector<StreamPattern> pool;  // in order of first appearance
  std::vector<int> orderList;       // pattern number of each order pass
};

struct SongStreams {
  std::array<ChannelStreams, kChannels> channels;
  int loopPoint = 0;  // index into every order list
};

// Ticks of the order passes from firstPass to the end; from 0, the intro
// and one loop, from the loop point, the loop alone.
int64_t passTicks(const SongStreams& streams, int firstPass);

// Appends one pass to every channel's order list, as the first pool pattern
// with equal records or else as a new pattern.
void commitPass(SongStreams& streams, const OrderPass& pass);

}  // namespace qc
