// The cartridge player against the editor's own player, register by
// register and frame by frame, in the test console. The reference runs with
// the cartridge's row timing and accounts for its two other differences:
// period table entry 0 holds 31337, and the period offset saturates at 16
// bits (cart_run.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "playback/loop_point.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cart_run.h"
#include "tests/cart_songs.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizer builds run unoptimised, ten times slower: there the demo
// song plays its first thirty seconds only.
constexpr int kDemoFrames = 1500;
#else
constexpr int kDemoFrames = 50000;
#endif

// Frames until playback comes back to its loop point (the order wrap, or
// the jump back), plus `extra`; 0 when it never does.
int framesThroughTheLoop(const Song& song, VideoStandard standard, int extra) {
  constexpr int kLimit = 50000;
  Song played = song;
  played.ntsc = standard == VideoStandard::kNtsc;
  PlayerOptions options;
  options.rowTiming = RowTiming::kCartridge;
  Player player(played, nullptr, options);
  startSong(player);
  LoopPointFinder loop(0, 0);
  for (int frame = 1; frame < kLimit; ++frame) {
    playerFrame(player);
    if (loop.entered(player.playOrder, player.playRow) && loop.looped()) return frame + extra;
  }
  return 0;
}

std::string describe(const FrameWrites& writes) {
  std::string text;
  char buffer[16];
  for (const ApuRegisterWrite& w : writes) {
    std::snprintf(buffer, sizeof buffer, " %04X=%02X", w.address, w.value);
    text += buffer;
  }
  return text;
}

// Plays the song through its loop point and a few rows beyond (at most
// `maxFrames`); reports the first frame that differs.
void expectCartridgeMatchesEditor(const Song& song, VideoStandard standard, int maxFrames = 50000) {
  const int count = std::min(framesThroughTheLoop(song, standard, 40), maxFrames);
  ASSERT_GT(count, 40) << "the song never reaches its loop point";
  const std::vector<FrameWrites> reference = referenceFrames(song, standard, count);
  auto machine = bootCartridge(song, standard);
  const std::vector<FrameWrites> cartridge = cartridgeFrames(*machine, count);
  for (int f = 0; f < count; ++f) {
    if (cartridge[size_t(f)] == reference[size_t(f)]) continue;
    ADD_FAILURE() << "frame " << f << " (" << referencePosition(song, standard, f)
                  << ")\n  editor:   " << describe(reference[size_t(f)])
                  << "\n  cartridge:" << describe(cartridge[size_t(f)]);
    return;
  }
}

class CartridgePlayer : public testing::TestWithParam<VideoStandard> {
 protected:
  void SetUp() override { resetToProgramStart(); }
};

TEST_P(CartridgePlayer, PlaysTheDemoSongAsTheEditorDoes) {
  ParsedModule module;
  ASSERT_TRUE(readModuleFile(QC_EXAMPLES_DIR "/demo.qcm", module));
  expectCartridgeMatchesEditor(*module.song, GetParam(), kDemoFrames);
}

TEST_P(CartridgePlayer, PlaysEveryEffectAsTheEditorDoes) { expectCartridgeMatchesEditor(effectsSong(), GetParam()); }

TEST_P(CartridgePlayer, WrapsJumpsAndBreaksAsTheEditorDoes) {
  expectCartridgeMatchesEditor(wrappingSong(), GetParam());
}

TEST_P(CartridgePlayer, AnEmptySongWritesSilenceEveryFrame) {
  Song song;
  writeProgramStartInstruments(song);
  expectCartridgeMatchesEditor(song, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Standards, CartridgePlayer, testing::Values(VideoStandard::kPal, VideoStandard::kNtsc),
                         [](const auto& info) { return info.param == VideoStandard::kPal ? "Pal" : "Ntsc"; });

}  // namespace
