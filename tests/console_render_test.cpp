// --render of exported files: what the console plays through our chip
// sounds like --render of the module, and bad or runaway files stop.
#include <gtest/gtest.h>

#include <cmath>

#include "console/console_render.h"
#include "export/cart_images.h"
#include "export/nsf_driver_image.h"
#include "export/rom_layout.h"
#include "playback/clock_rates.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/gme_render.h"
#include "tests/recording_files.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

TEST(ConsoleRender, ExportsSoundLikeTheModuleRenderAfterTheDriversStartUp) {
  resetToProgramStart();
  TempDir dir;
  const std::string demo = QC_EXAMPLES_DIR "/demo.qcm";
  ASSERT_EQ(runCli({"--render", demo, dir.file("editor.wav"), "--seconds", "6"}).status, 0);
  ASSERT_EQ(runCli({"--export-nsf", demo, dir.file("demo.nsf")}).status, 0);
  ASSERT_EQ(runCli({"--export-nes", demo, dir.file("demo.nes")}).status, 0);
  const CliResult nsf = runCli({"--render", dir.file("demo.nsf"), dir.file("nsf.wav"), "--seconds", "7"});
  ASSERT_EQ(nsf.status, 0) << nsf.err;
  const std::vector<int16_t> editor = readRecording(dir.file("editor.wav"));
  const size_t playWait = size_t(double(kNsfPlayWait) / kPalClockRate * kOutputRate);
  EXPECT_GT(spectralSimilarity(editor, readRecording(dir.file("nsf.wav")), playWait), 0.88);

  // The demo is a PAL song; the header's TV system bit picks the console.
  std::vector<uint8_t> image = readFile(dir.file("demo.nes"));
  image[9] = 1;
  writeFile(dir.file("pal.nes"), image);
  const CliResult nes = runCli({"--render", dir.file("pal.nes"), dir.file("nes.wav"), "--seconds", "7"});
  ASSERT_EQ(nes.status, 0) << nes.err;
  const std::vector<int16_t> cartridge = readRecording(dir.file("nes.wav"));
  size_t start = 0;  // the start-up, then the first row
  while (start < cartridge.size() && cartridge[start] == cartridge[0]) ++start;
  EXPECT_GT(spectralSimilarity(editor, cartridge, start), 0.88);
}

TEST(ConsoleRender, OurExportsStopAtTheirLoopPoint) {
  resetToProgramStart();
  Song song;
  writeProgramStartInstruments(song);
  song.patterns[0].cells[0][0] = Cell{49, 1, 0};
  TempDir dir;
  writeFile(dir.file("one.qcm"), encodeModule(song));
  ASSERT_EQ(runCli({"--export-nsf", dir.file("one.qcm"), dir.file("one.nsf")}).status, 0);
  ASSERT_EQ(runCli({"--export-nes", dir.file("one.qcm"), dir.file("one.nes")}).status, 0);
  // One pattern at speed 6: 384 ticks of 33260.5 cycles after the wait, and one to play out.
  const CliResult nsf = runCli({"--render", dir.file("one.nsf"), dir.file("nsf.wav")});
  EXPECT_EQ(nsf.out, dir.file("nsf.wav") + ": 7.90 seconds\n");
  EXPECT_EQ(nsf.err, "");
  // The start-up, then 64 rows on an NTSC console, 38400 / 5333 frames each.
  const CliResult nes = runCli({"--render", dir.file("one.nes"), dir.file("nes.wav")});
  EXPECT_EQ(nes.out, dir.file("nes.wav") + ": 7.79 seconds\n");
  EXPECT_EQ(nes.err, "");
}

TEST(ConsoleRender, FilesThatAreNotWhatTheCommandExpectsAreRefusedWithOneLine) {
  TempDir dir;
  writeFile(dir.file("text.nsf"), {'h', 'i'});
  CliResult r = runCli({"--render", dir.file("text.nsf"), dir.file("out.wav")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("text.nsf") + ": not an NSF file\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.wav")));
  writeFile(dir.file("kept.wav"), {'o', 'l', 'd'});  // a refused render leaves an existing file alone
  EXPECT_EQ(runCli({"--render", dir.file("text.nsf"), dir.file("kept.wav")}).status, 1);
  EXPECT_EQ(readFile(dir.file("kept.wav")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  r = runCli({"--render", dir.file("missing.nes"), dir.file("out.wav")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("missing.nes") + ": cannot read: No such file or directory\n");
}

// A cartridge whose reset jumps into nothing, and an NSF whose play does.
TEST(ConsoleRender, RunawayFilesStopWithANote) {
  std::vector<uint8_t> cartridge = {'N', 'E', 'S', 0x1A, 1, 0, 0x80, 0x10, 0, 0, 0, 0, 0, 0, 0, 0};
  cartridge.resize(16 + 16384, 0x02);  // an undocumented opcode everywhere
  cartridge[16 + 16384 - 4] = 0x00;    // reset at $C000
  cartridge[16 + 16384 - 3] = 0xC0;
  size_t rendered = 0;
  const SampleSink count = [&rendered](const std::vector<int16_t>& s) {
    rendered += s.size();
    return true;
  };
  ConsoleRenderResult r = renderCartridgeFile(cartridge, 0, 20, count);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.note.rfind("the CPU jams at $C000; stopped after 0.0", 0), 0u) << r.note;

  std::vector<uint8_t> nsf(128 + 4096, 0);
  const char magic[] = "NESM\x1A\x01\x01\x01";
  std::copy(magic, magic + 8, nsf.begin());
  nsf[9] = nsf[11] = nsf[13] = 0x80;  // load and init at $8000: RTS
  nsf[12] = 0x01;                     // play from $8001: JMP $8001 forever
  const uint8_t code[] = {0x60, 0x4C, 0x01, 0x80};
  std::copy(code, code + 4, nsf.begin() + 128);
  r = renderNsfFile(nsf, 0, 0.8, count);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.note, "no loop point known; stopped after 0.8 seconds");
  EXPECT_NEAR(double(rendered), 0.8 * kOutputRate, 2000);
}

}  // namespace

}  // namespace qc
