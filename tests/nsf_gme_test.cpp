// Our NSF files in an independent player: Game Music Emu plays them as our
// console does, in both standards.
#include <gtest/gtest.h>

#include "console/console_render.h"
#include "export/nsf_export.h"
#include "tests/example_songs.h"
#include "tests/gme_render.h"

namespace qc {

namespace {

constexpr double kSeconds = 6.0;

TEST(NsfInGme, TheDemoInPalAndNotesAndSamplesInNtscPlayAsOnOurConsole) {
  for (const char* name : {"demo.qcm", "samples-ntsc.qcm"}) {
    const std::optional<std::vector<uint8_t>> nsf = compileNsf(exampleSong(name));
    ASSERT_TRUE(nsf) << name;
    const std::vector<int16_t> gme = renderWithGme(*nsf, kSeconds);
    ASSERT_FALSE(gme.empty()) << "gme rejected " << name;
    std::vector<int16_t> console;
    const ConsoleRenderResult r = renderNsfFile(*nsf, kSeconds, kSeconds, [&console](const std::vector<int16_t>& s) {
      console.insert(console.end(), s.begin(), s.end());
      return true;
    });
    ASSERT_EQ(r.error, "");
    EXPECT_GT(spectralSimilarity(gme, console, 0), 0.9) << name;
  }
}

}  // namespace

}  // namespace qc
