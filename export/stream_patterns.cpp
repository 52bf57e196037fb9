#include "export/stream_patterns.h"

#include <algorithm>

namespace {

StreamPattern encodePass(int channel, const OrderPass& pass) {
  StreamPattern pattern;
  pattern.ticks = int(pass.size());
  BitWriter bits;
  const TickFields* previous = &kNoFields;
  for (const TickFields& tick : pass) {
    pattern.records.insert(pattern.records.end(), tick.begin() + kChannelFields[channel],
                           tick.begin() + kChannelFields[channel + 1]);
    encodeChannelTick(channel, *previous, tick, bits);
    previous = &tick;
  }
  pattern.bytes = bits.bytes();
  return pattern;
}

}  // namespace

void commitPass(SongStreams& streams, const OrderPass& pass) {
  for (int c = 0; c < kChannels; c++) {
    ChannelStreams& channel = streams.channels[c];
    StreamPattern pattern = encodePass(c, pass);
    auto match = std::find_if(channel.pool.begin(), channel.pool.end(),
                              [&](const StreamPattern& p) { return p.records == pattern.records; });
    channel.orderList.push_back(int(match - channel.pool.begin()));
    if (match == channel.pool.end()) channel.pool.push_back(std::move(pattern));
  }
}
