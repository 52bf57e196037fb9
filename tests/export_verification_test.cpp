// Exported files on the console, from the command line. --verify takes
// whole songs through both exports: every tick's register values against
// the editor's player, the NSF's DAC cadence and the sample bytes of both.
// --render of exported files: what the console plays through our chip
// sounds like --render of the module, and bad or runaway files stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "console/cartridge_verification.h"
#include "console/console_render.h"
#include "console/nsf_verification.h"
#include "export/cart_images.h"
#include "export/nsf_driver_image.h"
#include "export/nsf_layout.h"
#include "export/rom_layout.h"
#include "playback/clock_rates.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/example_songs.h"
#include "tests/gme_render.h"
#include "tests/recording_files.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

constexpr size_t kTicksPastTheLoop = 64;

// The cartridge's ways to sound unlike the editor, by design.
const std::string kFrameRate =
    "nes: by design, an NTSC console runs the per-frame effects (arpeggio, vibrato, slides, envelopes) at its 60 Hz, "
    "11.6% faster than the editor's 53.8 Hz; rows keep their tempo\n";
const std::string kLoop =
    "nes: by design, a looping sample starts again right after its last byte, where the editor starts it again at "
    "the next frame\n";

// What --verify prints for each bundled song and for an empty one (""):
// together they use every effect, both standards, samples that loop, stop
// and restart, and every way a song reaches its loop point.
const std::map<std::string, std::string> kVerified = {
    {"",
     "nsf: 448 ticks, registers equal, 156 DAC writes per tick\n"
     "nes: 449 frames on a PAL console, registers equal, 0 sample bytes equal\n"},
    {"demo.qcm",
     "nsf: 4256 ticks, registers equal, 156 DAC writes per tick\n"
     "nes: 4257 frames on a PAL console, registers equal, 274648 sample bytes equal\n"},
    {"effects.qcm",
     "nsf: 1162 ticks, registers equal, 156 DAC writes per tick\n"
     "nes: 1163 frames on a PAL console, registers equal, 4 sample bytes equal\n"},
    {"order-wrap.qcm",
     "nsf: 924 ticks, registers equal, 156 DAC writes per tick\n"
     "nes: 1020 frames on a NTSC console, registers equal, 0 sample bytes equal\n" + kFrameRate},
    {"samples-ntsc.qcm",
     "nsf: 340 ticks, registers equal, 156 DAC writes per tick\n"
     "nes: 370 frames on a NTSC console, registers equal, 24026 sample bytes equal\n" +
         kFrameRate + kLoop},
    {"samples-pal.qcm",
     "nsf: 320 ticks, registers equal, 156 DAC writes per tick\n"
     "nes: 319 frames on a PAL console, registers equal, 25731 sample bytes equal\n" + kLoop},
};

std::vector<std::string> songsToVerify() {
  std::vector<std::string> names = {""};
  for (const auto& entry : std::filesystem::directory_iterator(QC_EXAMPLES_DIR))
    if (entry.path().extension() == ".qcm") names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class VerifiedSong : public testing::TestWithParam<std::string> {};

TEST_P(VerifiedSong, BothExportsPlayAsTheEditorDoes) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  // Unoptimised, the demo's 4256 ticks take too long for the sanitizer builds.
  if (GetParam() == "demo.qcm") GTEST_SKIP();
#endif
  resetToProgramStart();
  TempDir dir;
  std::string path = QC_EXAMPLES_DIR "/" + GetParam();
  if (GetParam().empty()) {
    path = dir.file("empty.qcm");
    writeFile(path, encodeModule(app.song));
  }
  const CliResult r = runCli({"--verify", path});
  EXPECT_EQ(r.status, 0);
  ASSERT_TRUE(kVerified.count(GetParam())) << "a song without its expected lines:\n" << r.out;
  EXPECT_EQ(r.out, kVerified.at(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Songs, VerifiedSong, testing::ValuesIn(songsToVerify()), [](const auto& info) {
  std::string name = info.param.empty() ? "empty" : info.param.substr(0, info.param.find('.'));
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

TEST(Verify, ACorruptByteOfEitherExportOrOfASampleIsFoundWhereItPlays) {
  resetToProgramStart();
  app.song = exampleSong("samples-pal.qcm");
  std::optional<NsfReference> reference = nsfReference(app.song);
  ASSERT_TRUE(reference);
  const VerificationResult good = verifyNsf(*reference, app.song.samples, false, kTicksPastTheLoop);
  ASSERT_TRUE(good.equal) << good.line;
  // The first stream bank starts with pulse 1's first pattern: a bit of
  // its fourth byte is a change flag of the fourth tick.
  reference->file[kNsfHeaderBytes + 2 * kBankBytes + 3] ^= 0x10;
  const VerificationResult bad = verifyNsf(*reference, app.song.samples, false, kTicksPastTheLoop);
  EXPECT_FALSE(bad.equal);
  EXPECT_EQ(bad.line, "nsf: tick 3: $4000: expected $BF, got $30");
  std::array<RawSample, kSampleSlots> other = app.song.samples;
  other[1].data[0] ^= 1;  // the first byte the song plays, after 48 of silence
  EXPECT_EQ(verifyNsf(*reference, other, false, kTicksPastTheLoop).line,
            "nsf: tick 0: DAC byte 49: expected $01, got $00");

  const auto cartridge = cartridgeReference(app.song, true, int(kTicksPastTheLoop), 10000);
  ASSERT_TRUE(cartridge);
  std::vector<uint8_t> image = buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom).bytes;
  EXPECT_TRUE(verifyCartridge(image, *cartridge, app.song.samples, true).equal);
  image[kInesHeaderSize + 8 * kRomRowBytes] = 60;  // pattern 0, row 8, pulse 1: a note
  const VerificationResult badRow = verifyCartridge(image, *cartridge, app.song.samples, true);
  EXPECT_FALSE(badRow.equal);
  EXPECT_NE(badRow.line.find("(order 0 row 8 tick 0)"), std::string::npos) << badRow.line;
  other = app.song.samples;
  other[1].data[5] ^= 1;
  const VerificationResult samples = verifyCartridge(image, *cartridge, other, true);
  EXPECT_NE(samples.line.find("(order 0 row 0 tick "), std::string::npos) << samples.line;
}

TEST(Verify, ASongThatNeverLoopsFailsWithAReason) {
  resetToProgramStart();
  app.song.patterns[0].cells[0][0] = Cell{0, 0xF0, 0};  // speed 0
  TempDir dir;
  writeFile(dir.file("stuck.qcm"), encodeModule(app.song));
  const CliResult r = runCli({"--verify", dir.file("stuck.qcm")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "nsf: the song cannot be exported as NSF\nnes: no loop point within 20 minutes\n");
}

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
