#include <gtest/gtest.h>

#include <filesystem>

#include "export/cart_images.h"
#include "export/rom_export.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
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

TEST_F(RomExport, WritesTheImageWithThePlayerAndTiles) {
  app.song.patterns[0].cells[0][0].note = 25;
  const std::string path = dir.file("song.nes");
  ASSERT_TRUE(exportRom(path));
  const std::vector<uint8_t> bytes = readFile(path);
  EXPECT_EQ(bytes, buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom).bytes);
  EXPECT_EQ(bytes.size(), size_t(kInesHeaderSize + 2 * kPrgBankSize + kCartImageSize));
  EXPECT_EQ(filesIn(dir.path()), 1u) << "no temporary file is left behind";
}

TEST_F(RomExport, ASongTooBigForTheMapperLeavesTheOldFile) {
  const std::string path = dir.file("song.nes");
  writeFile(path, {'o', 'l', 'd'});
  app.song.samples[3].data.assign(size_t(kMaxPrgBanks) * kPrgBankSize, 0x40);
  EXPECT_FALSE(exportRom(path));
  EXPECT_EQ(readFile(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST_F(RomExport, AnUnwritablePathFails) {
  EXPECT_FALSE(exportRom(dir.file("missing/song.nes")));
  EXPECT_FALSE(exportRom(dir.path())) << "a directory cannot be replaced by a file";
  EXPECT_TRUE(fs::is_directory(dir.path()));
}

TEST_F(RomExport, CommandLineWritesTheModulesImageAndNamesFailures) {
  Song song;
  writeProgramStartInstruments(song);
  song.patterns[1].cells[2][5].note = 40;
  song.samples[2] = RawSample{{1, 2, 3}, true, "s"};
  writeFile(dir.file("m.qcm"), encodeModule(song));
  const CliResult ok = runCli({"--export-nes", dir.file("m.qcm"), dir.file("m.nes")});
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(readFile(dir.file("m.nes")), buildRomImage(song, kCartPlayerImage, kCartCharacterRom).bytes);

  CliResult r = runCli({"--export-nes", dir.file("m.qcm"), dir.file("no/dir.nes")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("no/dir.nes") + ": cannot write: No such file or directory\n");

  song.samples[9].data.assign(size_t(kMaxPrgBanks) * kPrgBankSize, 0x40);
  writeFile(dir.file("big.qcm"), encodeModule(song));
  r = runCli({"--export-nes", dir.file("big.qcm"), dir.file("big.nes")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("big.qcm") +
                     ": cannot export as iNES: the song needs 256 PRG banks of 16 KB, the mapper holds 128\n");
  EXPECT_FALSE(fs::exists(dir.file("big.nes")));

  r = runCli({"--export-nes", dir.file("m.qcm")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "usage: quillchanter --export-nes MODULE OUT.nes\n");
}

TEST(CartImages, HoldTheEditorsPeriodTablesAndTheFont) {
  const auto period = [](int table, int note) {
    const int at = table + 2 * note;
    return kCartPlayerImage[at] | kCartPlayerImage[at + 1] << 8;
  };
  const int pal[] = {3177, 2999, 2831, 2672, 2522, 2380, 2247, 2120, 2001, 1889, 1783, 1683};
  const int ntsc[] = {3420, 3228, 3047, 2876, 2715, 2562, 2418, 2283, 2154, 2034, 1919, 1812};
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(period(kCartPalPeriodsOffset, n), pal[n - 1]);
    EXPECT_EQ(period(kCartNtscPeriodsOffset, n), ntsc[n - 1]);
  }
  EXPECT_EQ(period(kCartPalPeriodsOffset, 0), 31337);
  EXPECT_EQ(period(kCartPalPeriodsOffset, 96), 13);
  EXPECT_EQ(period(kCartNtscPeriodsOffset, 96), 14);

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
