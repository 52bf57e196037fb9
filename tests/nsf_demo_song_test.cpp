// The demo song's NSF in Game Music Emu sounds as it does on our console.
#include <gtest/gtest.h>

#include "console/console_render.h"
#include "export/nsf_export.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/gme_render.h"

namespace {

TEST(NsfDemoSong, GmePlaysItAsOurConsoleDoes) {
  resetToProgramStart();
  ASSERT_TRUE(loadModuleFile(QC_EXAMPLES_DIR "/demo.qcm"));
  testing::internal::CaptureStdout();
  std::optional<std::vector<uint8_t>> nsf = compileNsf();
  testing::internal::GetCapturedStdout();
  ASSERT_TRUE(nsf);
  const std::vector<int16_t> gme = renderWithGme(*nsf, 6.0);
  ASSERT_FALSE(gme.empty());
  std::vector<int16_t> console;
  const ConsoleRenderResult r = renderNsfFile(*nsf, 6.0, 6.0, [&console](const std::vector<int16_t>& s) {
    console.insert(console.end(), s.begin(), s.end());
    return true;
  });
  ASSERT_EQ(r.error, "");
  EXPECT_GT(spectralSimilarity(gme, console, 0), 0.9);
}

}  // namespace
