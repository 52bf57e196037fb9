// Whole songs through both exports on the console (--verify): every tick's
// register values against the editor's player, the NSF's DAC cadence and
// the sample bytes of both.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "console/cartridge_verification.h"
#include "console/nsf_verification.h"
#include "export/cart_images.h"
#include "export/nsf_layout.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "tests/cli_runner.h"
#include "tests/example_songs.h"
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

}  // namespace

}  // namespace qc
