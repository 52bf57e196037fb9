// The demo song exported as NSF sounds like the editor playing it.
#include <gtest/gtest.h>

#include <cmath>

#include "export/nsf_export.h"
#include "playback/audio_output.h"
#include "playback/channel_update.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/gme_render.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Goertzel power of one frequency over a window.
double power(const std::vector<int16_t>& s, size_t from, size_t count, double frequency) {
  double coefficient = 2 * std::cos(2 * kPi * frequency / kGmeRate), a = 0, b = 0;
  for (size_t i = from; i < from + count; i++) {
    double c = s[i] + coefficient * a - b;
    b = a;
    a = c;
  }
  return a * a + b * b - coefficient * a * b;
}

// The strongest of the 96 note frequencies (from 32.7 Hz by semitones).
int dominantNote(const std::vector<int16_t>& s, size_t from, size_t count) {
  int best = 0;
  double bestPower = -1;
  for (int n = 0; n < 96; n++) {
    double p = power(s, from, count, 32.7 * std::pow(2.0, n / 12.0));
    if (p > bestPower) bestPower = p, best = n;
  }
  return best;
}

TEST(NsfDemoSong, GmePlaysItWithTheEditorsDominantPitch) {
  resetToProgramStart();
  ASSERT_TRUE(loadModuleFile(QC_EXAMPLES_DIR "/demo.qcm"));
  std::optional<std::vector<uint8_t>> nsf = compileNsf(app.song);
  ASSERT_TRUE(nsf);

  Engine engine(app.song.ntsc);
  Player player(app.song, &engine);
  startSong(player);
  std::vector<int16_t> editor(size_t(4.6 * kOutputRate));
  fillAudio(engine, &player, editor.data(), int(editor.size()));
  std::vector<int16_t> exported = renderWithGme(*nsf, 4.8);
  ASSERT_FALSE(exported.empty());
  // The driver starts 332470 cycles late: about 0.2 s.
  size_t delay = size_t(332470.0 / (app.song.ntsc ? 1789772.67 : 1662607.0) * kGmeRate);
  EXPECT_GT(acLevel(exported, delay), 500.0);
  // Windows of held notes; where pulse 2 arpeggiates across a high-byte
  // boundary (2 to 3 s) the editor's sweep-unit writes sound a semitone
  // higher than the captured period, which the NSF plays exactly.
  for (double second : {0.5, 4.0}) {
    size_t at = size_t(second * kGmeRate), window = kGmeRate / 2;
    EXPECT_EQ(dominantNote(exported, at + delay, window), dominantNote(editor, at, window)) << "at " << second << " s";
  }
}

}  // namespace
