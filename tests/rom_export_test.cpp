// The cartridge image: its header, banks and tables, what it refuses, the
// player and font it carries, and the file the export and the command line
// write.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "export/cart_images.h"
#include "export/rom_export.h"
#include "export/rom_layout.h"
#include "export/rom_table_half.h"
#include "playback/clock_rates.h"
#include "playback/note_tables.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/example_songs.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

namespace fs = std::filesystem;

std::array<uint8_t, kCartImageSize> filled(uint8_t value) {
  std::array<uint8_t, kCartImageSize> a;
  a.fill(value);
  return a;
}
const auto kPlayer = filled(0xEA);
const auto kChr = filled(0x5C);

struct Rom {
  std::vector<uint8_t> bytes;
  size_t prgSize() const { return bytes.size() - kInesHeaderSize - kCartImageSize; }
  uint8_t prg(size_t offset) const { return bytes.at(kInesHeaderSize + offset); }
  // The table half, read as the player reads it at $C000.
  size_t tableHalf() const { return kInesHeaderSize + prgSize() - kPrgBankSize; }
  uint8_t cpu(int address) const { return bytes.at(tableHalf() + address - 0xC000); }
  int word(int address) const { return cpu(address) | cpu(address + 1) << 8; }
};

// Layouts are built with a stand-in player and font, exports with the real ones.
class CartridgeImage : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  Song& song = app.song;
  TempDir dir;
  Rom build() {
    RomImage image = buildRomImage(song, kPlayer, kChr);
    EXPECT_TRUE(image.error.empty()) << image.error;
    return {image.bytes};
  }
  void fillPatterns(int count) {
    for (int p = 0; p < count; ++p) song.patterns[p].cells[0][0].note = uint8_t(p + 1);
  }
  void addSample(int slot, size_t length, bool loop, uint8_t value = 0x40) {
    song.samples[slot].data.assign(length, value);
    song.samples[slot].loop = loop;
  }
};

TEST_F(CartridgeImage, WritesTheImageOrFailsLeavingTheOldFileAndNoTemporary) {
  app.song.patterns[0].cells[0][0].note = 25;
  const std::string path = dir.file("song.nes");
  ASSERT_TRUE(exportRom(path));
  const std::vector<uint8_t> image = readFile(path);
  EXPECT_EQ(image, buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom).bytes);
  EXPECT_FALSE(exportRom(dir.file("missing/song.nes")));
  app.song.samples[3].data.assign(size_t(kMaxPrgBanks) * kPrgBankSize, 0x40);
  EXPECT_FALSE(exportRom(path)) << "too big for the mapper";
  EXPECT_EQ(readFile(path), image);
  EXPECT_EQ(dir.entries(), 1) << "no temporary file is left behind";
}

TEST_F(CartridgeImage, CommandLineWritesTheModulesImageAndNamesFailures) {
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

  const auto tile = [](char c) { return kCartCharacterRom.data() + 16 * uint8_t(c - 94); };
  EXPECT_TRUE(std::all_of(tile(' '), tile(' ') + 16, [](uint8_t b) { return b == 0; }));
  for (char c : std::string("!09AZ[\\]"))
    EXPECT_TRUE(std::any_of(tile(c), tile(c) + 8, [](uint8_t b) { return b != 0; })) << c;
  EXPECT_EQ(tile(']')[6], 0x7C) << "']' is drawn as an underscore";
  EXPECT_EQ(tile('[')[0], tile('[')[6]) << "'[' is drawn as a bar";
}

TEST_F(CartridgeImage, EmptySongIsHeaderOneBankAndChr) {
  Rom rom = build();
  const uint8_t header[16] = {'N', 'E', 'S', 0x1A, 1, 1, 0x80, 0x10, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(header, header + 16, rom.bytes.begin()));
  ASSERT_EQ(rom.prgSize(), size_t(kPrgBankSize));
  // The table pointers and the order list the verification plays.
  EXPECT_EQ(rom.word(0xC008), rom.word(0xC004)) << "the first record follows the empty sample table";
  EXPECT_TRUE(std::all_of(rom.bytes.end() - 2 * kCartImageSize, rom.bytes.end() - kCartImageSize,
                          [](uint8_t b) { return b == 0xEA; }));
  EXPECT_TRUE(std::all_of(rom.bytes.end() - kCartImageSize, rom.bytes.end(), [](uint8_t b) { return b == 0x5C; }));
}

TEST_F(CartridgeImage, SeventeenPatternsTakeTwoBanksAndPointersRestartPerBank) {
  fillPatterns(17);
  Rom rom = build();
  EXPECT_EQ(rom.prgSize(), size_t(4 * kPrgBankSize)) << "2 pattern banks, 1 zero bank, the last bank";
  EXPECT_EQ(rom.prg(15 * 832), 16);
  EXPECT_EQ(rom.prg(16 * 832), 0) << "the rest of bank 0 is zero";
  EXPECT_EQ(rom.prg(kPrgBankSize), 17) << "pattern 16 starts bank 1";
  EXPECT_EQ(rom.prg(kPrgBankSize + 832), 0);
  const int pointers = rom.word(0xC002);
  EXPECT_EQ(rom.word(pointers + 2 * 15), 0x8000 + 15 * 832);
  EXPECT_EQ(rom.word(pointers + 2 * 16), 0x8000);
  EXPECT_EQ(rom.word(0xC004), pointers + 2 * 17);
}

TEST_F(CartridgeImage, BankCountsRoundUpToAPowerOfTwoWithTheLastBank) {
  fillPatterns(1);
  addSample(1, kPrgBankSize - 1, false);  // fills one bank with its end byte
  EXPECT_EQ(build().prgSize(), size_t(4 * kPrgBankSize)) << "2 banks + 1 zero bank + last";
  addSample(2, 10, false);
  EXPECT_EQ(build().prgSize(), size_t(4 * kPrgBankSize)) << "3 banks + last, no zero bank";
}

TEST_F(CartridgeImage, MoreThan128BanksIsRefused) {
  addSample(1, size_t(kMaxPrgBanks) * kPrgBankSize, false);
  RomImage image = buildRomImage(song, kPlayer, kChr);
  EXPECT_TRUE(image.bytes.empty());
  EXPECT_FALSE(image.error.empty());
  song.samples[1].data.resize(127 * size_t(kPrgBankSize) - 1);
  EXPECT_EQ(build().prgSize(), size_t(kMaxPrgBanks) * kPrgBankSize) << "127 banks and the last fit";
}

// End bytes and relative loops the cartridge plays through --verify; here
// what no bundled song has: a fixed note 127, an envelope without an end.
TEST_F(CartridgeImage, InstrumentRecordsEndEveryEnvelopeWithinItsBytes) {
  setEnvelope(song.envelopes[4][kNoteEnvelope], {64, 0xFF, 0x80 | 12});
  EXPECT_EQ(instrumentRecord(song, 4)[kRomEnvelopeRecordSize + 1], 0x80 | 95) << "fixed note 127 is written as 95";

  Envelope& full = song.envelopes[2][kVolumeEnvelope];
  for (int32_t& v : full.values) v = 7;  // no end value at all
  full.loop = 200;
  const auto r = instrumentRecord(song, 2);
  EXPECT_EQ(r[kMaxEnvelopeLength], 0xFF);
  EXPECT_EQ(r[kMaxEnvelopeLength + 1], 0xFF) << "a loop past the end holds the last value";
  EXPECT_EQ(r[kRomEnvelopeRecordSize], 64) << "the next envelope is untouched";
}

TEST_F(CartridgeImage, TableHalfRefusesTablesThatOverflowEightKilobytes) {
  // 38 bytes of heads and instrument pointers, 64 of pattern pointers, 3825
  // of records and 480 of names leave room for 1261 sample entries.
  EXPECT_TRUE(buildTableHalf(song, kPatterns, std::vector<SampleTableEntry>(255)));
  EXPECT_TRUE(buildTableHalf(song, kPatterns, std::vector<SampleTableEntry>(1261)));
  EXPECT_FALSE(buildTableHalf(song, kPatterns, std::vector<SampleTableEntry>(1262)));
}

}  // namespace

}  // namespace qc
