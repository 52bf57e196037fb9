// What playback cannot show of the bit streams: unchanged fields cost one
// bit, patterns start afresh, equal passes share a pattern. The driver test
// plays random streams of every shape, which proves the bits themselves.
#include <gtest/gtest.h>

#include "export/stream_patterns.h"

namespace qc {

namespace {

BitWriter encoded(int channel, const TickFields& previous, const TickFields& current) {
  BitWriter bits;
  encodeChannelTick(channel, previous, current, bits);
  return bits;
}

// Bit count of one channel's tick.
size_t bitCount(int channel, const TickFields& previous, const TickFields& current) {
  BitWriter bits = encoded(channel, previous, current);
  bits.put(true);  // a marker behind the tick's bits
  const std::vector<uint8_t>& b = bits.bytes();
  int top = 7;
  while (!(b.back() >> top & 1)) top--;
  return (b.size() - 1) * 8 + size_t(top);
}

TickFields with(std::initializer_list<std::pair<int, int>> values) {
  TickFields t = kNoFields;
  for (auto [field, value] : values) t[field] = value;
  return t;
}

TEST(BitStream, ChangedFieldsStoreFlagAndValueUnchangedOrEmptyOnlyAZero) {
  TickFields sounding = with({{kCapPulse1High, 2}, {kCapPulse1Low, 0x34}, {kCapPulse1DutyVolume, 0x2F}});
  // 1 010, 1 00110100, 1 101111
  EXPECT_EQ(encoded(0, kNoFields, sounding).bytes(), (std::vector<uint8_t>{0b1001'0101, 0b0110'0101, 0b0000'1111}));
  EXPECT_EQ(bitCount(0, kNoFields, sounding), 20u);
  EXPECT_EQ(bitCount(0, sounding, sounding), 3u);
  TickFields silent = with({{kCapPulse1DutyVolume, 0x20}});
  EXPECT_EQ(bitCount(0, sounding, silent), 2u + 7);
  // Sounding again after silence: the previous values are -1, so in full.
  EXPECT_EQ(bitCount(0, silent, sounding), 20u);
}

TEST(StreamPatterns, PassesEqualOnAChannelSharePatternsChannelByChannel) {
  TickFields a = with({{kCapPulse1DutyVolume, 0x1F}, {kCapNoiseVolume, 3}, {kCapTriangleOn, 0}});
  TickFields b = a;
  b[kCapNoiseVolume] = 4;
  SongStreams streams;
  commitPass(streams, OrderPass{a, a});
  commitPass(streams, OrderPass{b, b});  // pulse 1 equal, noise differs
  commitPass(streams, OrderPass{a, a});
  commitPass(streams, OrderPass{a});     // equal records but one tick fewer
  EXPECT_EQ(streams.channels[0].orderList, (std::vector<int>{0, 0, 0, 1}));
  EXPECT_EQ(streams.channels[3].orderList, (std::vector<int>{0, 1, 0, 2}));
  EXPECT_EQ(streams.channels[0].pool.size(), 2u);
  EXPECT_EQ(streams.channels[3].pool.size(), 3u);
  EXPECT_EQ(streams.channels[3].pool[1].ticks, 2);
  EXPECT_EQ(streams.channels[3].pool[1].records, (std::vector<int32_t>{-1, 4, -1, 4}));
}

TEST(StreamPatterns, EveryPatternStartsFromNoPreviousValues) {
  TickFields a = with({{kCapPulse1High, 1}, {kCapPulse1Low, 2}, {kCapPulse1DutyVolume, 3}});
  SongStreams streams;
  commitPass(streams, OrderPass{a, a});
  TickFields b = a;
  b[kCapPulse1DutyVolume] = 4;
  commitPass(streams, OrderPass{a, b});
  // The second pattern's first tick carries every field, though the tick
  // before it (the first pass's last) had the same values.
  BitWriter expected;
  encodeChannelTick(0, kNoFields, a, expected);
  encodeChannelTick(0, a, b, expected);
  EXPECT_EQ(streams.channels[0].pool[1].bytes, expected.bytes());
}

}  // namespace

}  // namespace qc
