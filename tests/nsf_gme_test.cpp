// Our NSF files in an independent player: Game Music Emu plays them as our
// console does, in both standards.
#include <gtest/gtest.h>

#include "console/console_render.h"
#include "export/nsf_export.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cart_songs.h"
#include "tests/gme_render.h"

namespace qc {

namespace {

constexpr double kSeconds = 6.0;

void expectGmePlaysAsOurConsole() {
  std::optional<std::vector<uint8_t>> nsf = compileNsf(app.song);
  ASSERT_TRUE(nsf);
  const std::vector<int16_t> gme = renderWithGme(*nsf, kSeconds);
  ASSERT_FALSE(gme.empty()) << "gme rejected the file";
  std::vector<int16_t> console;
  const ConsoleRenderResult r = renderNsfFile(*nsf, kSeconds, kSeconds, [&console](const std::vector<int16_t>& s) {
    console.insert(console.end(), s.begin(), s.end());
    return true;
  });
  ASSERT_EQ(r.error, "");
  EXPECT_GT(spectralSimilarity(gme, console, 0), 0.9);
}

TEST(NsfInGme, TheDemoSongInPal) {
  resetToProgramStart();
  ASSERT_TRUE(loadModuleFile(QC_EXAMPLES_DIR "/demo.qcm"));
  expectGmePlaysAsOurConsole();
}

TEST(NsfInGme, NotesAndSamplesInNtsc) {
  resetToProgramStart();
  app.song = samplesSong(true);
  expectGmePlaysAsOurConsole();
}

}  // namespace

}  // namespace qc
