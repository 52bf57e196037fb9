#include <gtest/gtest.h>

#include <filesystem>

#include "export/cart_images.h"
#include "export/rom_export.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "playback/clock_rates.h"
#include "playback/note_tables.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/example_songs.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

namespace fs = std::filesystem;

size_t filesIn(const std::string& dir) {
  return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class RomExport : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

TEST_F(RomExport, WritesTheImageOrFailsLeavingTheOldFileAndNoTemporary) {
  app.song.patterns[0].cells[0][0].note = 25;
  const std::string path = dir.file("song.nes");
  ASSERT_TRUE(exportRom(path));
  const std::vector<uint8_t> image = readFile(path);
  EXPECT_EQ(image, buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom).bytes);
  EXPECT_FALSE(exportRom(dir.file("missing/song.nes")));
  app.song.samples[3].data.assign(size_t(kMaxPrgBanks) * kPrgBankSize, 0x40);
  EXPECT_FALSE(exportRom(path)) << "too big for the mapper";
  EXPECT_EQ(readFile(path), image);
  EXPECT_EQ(filesIn(dir.path()), 1u) << "no temporary file is left behind";
}

TEST_F(RomExport, CommandLineWritesTheModulesImageAndNamesFailures) {
  const std::string effects = QC_EXAMPLES_DIR "/effects.qcm";
  const CliResult ok = runCli({"--export-nes", effects, dir.file("m.nes")});
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(readFile(dir.file("m.nes")),
            buildRomImage(exampleSong("effects.qcm"), kCartPlayerImage, kCartCharacterRom).bytes);

  CliResult r = runCli({"--export-nes", effects, dir.file("no/dir.nes")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("no/dir.nes") + ": cannot write: No such file or directory\n");

  app.song.samples[9].data.assign(size_t(kMaxPrgBanks) * kPrgBankSize, 0x40);
  writeFile(dir.file("big.qcm"), encodeModule(app.song));
  r = runCli({"--export-nes", dir.file("big.qcm"), dir.file("big.nes")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("big.qcm") +
                     ": cannot export as iNES: the song needs 256 PRG banks of 16 KB, the mapper holds 128\n");
  EXPECT_FALSE(fs::exists(dir.file("big.nes")));

  r = runCli({"--export-nes", effects});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "usage: quillchanter --export-nes MODULE OUT.nes\n");
}

TEST(CartImages, HoldTheEditorsPeriodTablesAndTheFont) {
  const auto period = [](int table, int note) {
    const int at = table + 2 * note;
    return kCartPlayerImage[at] | kCartPlayerImage[at + 1] << 8;
  };
  for (int n = 1; n <= 96; ++n) {
    EXPECT_EQ(period(kCartPalPeriodsOffset, n), notePeriod(kPalCpuClock, n)) << n;
    EXPECT_EQ(period(kCartNtscPeriodsOffset, n), notePeriod(kNtscCpuClock, n)) << n;
  }
  EXPECT_EQ(period(kCartPalPeriodsOffset, 0), 31337);

  const std::string image(kCartPlayerImage.begin(), kCartPlayerImage.end());
  EXPECT_NE(image.find("QUILLCHANTER"), std::string::npos);
  EXPECT_NE(image.find("NESTOPIA OR NINTENDULATOR."), std::string::npos);

  const auto tile = [](char c) { return kCartCharacterRom.data() + 16 * uint8_t(c - 94); };
  EXPECT_TRUE(std::all_of(tile(' '), tile(' ') + 16, [](uint8_t b) { return b == 0; }));
  for (char c : std::string("!09AZ[\\]"))
    EXPECT_TRUE(std::any_of(tile(c), tile(c) + 8, [](uint8_t b) { return b != 0; })) << c;
  EXPECT_EQ(tile(']')[6], 0x7C) << "']' is drawn as an underscore";
  EXPECT_EQ(tile('[')[0], tile('[')[6]) << "'[' is drawn as a bar";
}

}  // namespace

}  // namespace qc
