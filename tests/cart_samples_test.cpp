// Raw samples on the cartridge: one byte to $4011 per timer interrupt, read
// across 8 KB banks, stopped or restarted at the end byte, at the editor's
// byte rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "export/rom_layout.h"
#include "playback/audio_output.h"
#include "playback/note_tables.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "tests/cartridge_boot.h"

namespace qc {

namespace {

constexpr uint16_t kDac = 0x4011;
// Slot 1 fills the first 8 KB bank but for its end byte and slot 2's first
// byte; slot 2 then runs through the second bank into the third.
constexpr size_t kFillerLength = kPrgHalfBankSize - 2;
constexpr size_t kLoopingLength = 9000;
constexpr double kCentsAllowed = 3.0;

std::vector<uint8_t> levels(size_t length, int seed) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = uint8_t((i * 7 + size_t(seed) * 13 + i / 251) & 0x7F);
  return data;
}

Song loopingSampleSong() {
  Song song;
  writeProgramStartInstruments(song);
  song.samples[1] = RawSample{levels(kFillerLength, 1), false, "filler"};
  song.samples[2] = RawSample{levels(kLoopingLength, 2), true, "loop"};
  song.patterns[0].cells[kPcmTrack][0].note = 2;
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
};

TEST_P(CartridgeSamples, ALoopingSampleStreamsByteForByteAcrossBanksAndRestartsAtTheEditorsRate) {
  const Song song = loopingSampleSong();
  auto machine = bootCartridge(song, pal());
  const size_t wanted = kLoopingLength + 500;
  const Stream s = playStream(*machine, wanted, 120);
  ASSERT_GE(s.bytes.size(), wanted);
  const std::vector<uint8_t>& data = song.samples[2].data;
  EXPECT_TRUE(std::equal(data.begin(), data.end(), s.bytes.begin())) << "first pass";
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 500, s.bytes.begin() + long(kLoopingLength))) << "restart";

  // A whole pass: the sample's bytes and the end byte's interrupt, which writes nothing.
  const double cyclesPerByte = double(s.cycles[kLoopingLength] - s.cycles[0]) / double(kLoopingLength + 1);
  const double editorBytesPerSecond = pcmStep(!pal()) * kSubStepsPerFrame * framesPerSecond(!pal());
  const double clock = pal() ? kPalCpuClock : kNtscCpuClock;
  EXPECT_LT(std::abs(1200 * std::log2(clock / cyclesPerByte / editorBytesPerSecond)), kCentsAllowed);
}

INSTANTIATE_TEST_SUITE_P(Standards, CartridgeSamples, testing::Bool(),
                         [](const auto& info) { return info.param ? "Pal" : "Ntsc"; });

}  // namespace

}  // namespace qc
