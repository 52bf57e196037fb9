#include "export/stream_patterns.h"

#include <algorithm>

namespace qc {

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

int64_t passTicks(const SongStreams& streams, int firstPass) {
  const ChannelStreams& channel = streams.channels[0];
  int64_t ticks = 0;
  for (size_t pass = size_t(firstPass); pass < channel.orderList.size(); ++pass)
    ticks += channel.pool[size_t(channel.orderList[pass])].ticks;
  return ticks;
}

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

}  // namespace qc
