#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "export/cart_images.h"
#include "export/rom_export.h"
#include "export/rom_layout.h"
#include "song/app_state.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class RomExport : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    dir = fs::temp_directory_path() / ("qc_rom_export_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(RomExport, WritesTheImageWithThePlayerAndTiles) {
  app.song.patterns[0].cells[0][0].note = 25;
  const fs::path path = dir / "song.nes";
  ASSERT_TRUE(exportRom(path.string()));
  const std::vector<uint8_t> bytes = readFile(path);
  EXPECT_EQ(bytes, buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom).bytes);
  EXPECT_EQ(bytes.size(), size_t(kInesHeaderSize + 2 * kPrgBankSize + kCartImageSize));
  EXPECT_FALSE(fs::exists(dir / "song.nes.tmp"));
}

TEST_F(RomExport, ASongTooBigForTheMapperLeavesTheOldFile) {
  const fs::path path = dir / "song.nes";
  std::ofstream(path) << "old";
  app.song.samples[3].data.assign(size_t(kMaxPrgBanks) * kPrgBankSize, 0x40);
  std::string error;
  EXPECT_FALSE(exportRom(path.string(), error));
  EXPECT_NE(error.find("128"), std::string::npos) << error;
  EXPECT_EQ(readFile(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_FALSE(fs::exists(dir / "song.nes.tmp"));
}

TEST_F(RomExport, AnUnwritablePathFails) {
  EXPECT_FALSE(exportRom((dir / "missing" / "song.nes").string()));
  EXPECT_FALSE(exportRom(dir.string())) << "a directory cannot be replaced by a file";
  EXPECT_TRUE(fs::is_directory(dir));
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
