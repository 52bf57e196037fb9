// Raw samples on the cartridge: one byte to $4011 per timer interrupt, read
// across 8 KB banks, stopped or restarted at the end byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "export/rom_layout.h"
#include "song/app_state.h"
#include "tests/cartridge_boot.h"
#include "tests/cart_songs.h"

namespace {

constexpr uint16_t kDac = 0x4011;
// Slot 1 fills the first 8 KB bank but for its end byte and slot 2's first
// byte; slot 2 then runs through the second bank into the third.
constexpr size_t kFillerLength = kPrgHalfBankSize - 2;
constexpr size_t kLoopingLength = 9000;
constexpr size_t kShortLength = 400;
constexpr uint64_t kLongestInstruction = 7;  // a 7-cycle instruction delays the interrupt by up to 6
constexpr uint64_t kJitter = 40;

std::vector<uint8_t> levels(size_t length, int seed) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = uint8_t((i * 7 + size_t(seed) * 13 + i / 251) & 0x7F);
  return data;
}

Song sampleSong(int slot) {
  Song song;
  writeProgramStartInstruments(song);
  song.samples[1] = RawSample{levels(kFillerLength, 1), false, "filler"};
  song.samples[2] = RawSample{levels(kLoopingLength, 2), true, "loop"};
  song.samples[3] = RawSample{levels(kShortLength, 3), false, "short"};
  putCell(song, 0, 4, 0, slot);
  return song;
}

struct Stream {
  std::vector<uint8_t> bytes;
  std::vector<uint64_t> cycles;
};

// Runs until `bytes` bytes went to the DAC or `frames` frames passed.
Stream playStream(CartridgeMachine& machine, size_t bytes, int frames) {
  Stream s;
  for (int f = 0; f < frames && s.bytes.size() < bytes; ++f) {
    machine.runFrames(1);
    s.bytes.clear();
    s.cycles.clear();
    for (const auto& w : machine.apuWrites) {
      if (w.address != kDac) continue;
      s.bytes.push_back(w.value);
      s.cycles.push_back(w.cycle);
    }
  }
  return s;
}

class CartridgeSamples : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { resetToProgramStart(); }
  bool pal() const { return GetParam(); }
  // One byte per interrupt: the count of 256 - reload cycles restarts when
  // the handler acknowledges, 17 cycles after the interrupted instruction
  // ends (7 to enter, 10 into the handler).
  uint64_t shortestPeriod() const { return (pal() ? 256 - 0x3E : 256 - 0x2E) + 17; }
};

TEST_P(CartridgeSamples, ALoopingSampleStreamsByteForByteAcrossBanksAndRestarts) {
  const Song song = sampleSong(2);
  auto machine = bootCartridge(song, pal());
  const size_t wanted = kLoopingLength + 500;
  const Stream s = playStream(*machine, wanted, 120);
  ASSERT_GE(s.bytes.size(), wanted);
  const std::vector<uint8_t>& data = song.samples[2].data;
  EXPECT_TRUE(std::equal(data.begin(), data.end(), s.bytes.begin())) << "first pass";
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 500, s.bytes.begin() + long(kLoopingLength))) << "restart";

  std::vector<uint64_t> periods;
  for (size_t i = 1; i < wanted; ++i) periods.push_back(s.cycles[i] - s.cycles[i - 1]);
  // The end byte takes one interrupt and writes nothing.
  const uint64_t seam = periods[kLoopingLength - 1];
  EXPECT_GE(seam, 2 * shortestPeriod());
  EXPECT_LE(seam, 2 * shortestPeriod() + kJitter);
  periods.erase(periods.begin() + long(kLoopingLength - 1));
  // An NMI inside the handler delays one write, not the count.
  EXPECT_GE(*std::min_element(periods.begin(), periods.end()), shortestPeriod() - kJitter);
  EXPECT_LE(*std::max_element(periods.begin(), periods.end()), shortestPeriod() + kJitter);
  const double mean = double(s.cycles[wanted - 1] - s.cycles[0] - seam) / double(periods.size());
  EXPECT_GE(mean, double(shortestPeriod()));
  EXPECT_LE(mean, double(shortestPeriod() + kLongestInstruction));
  std::nth_element(periods.begin(), periods.begin() + long(periods.size() / 2), periods.end());
  EXPECT_LE(periods[periods.size() / 2], shortestPeriod() + kLongestInstruction) << "the median byte is on time";
}

INSTANTIATE_TEST_SUITE_P(Standards, CartridgeSamples, testing::Bool(),
                         [](const auto& info) { return info.param ? "Pal" : "Ntsc"; });

}  // namespace
