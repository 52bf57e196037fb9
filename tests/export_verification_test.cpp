// Whole songs through both exports on the console (--verify): every tick's
// register values against the editor's player, the NSF's DAC cadence and
// the sample bytes of both.
#include <gtest/gtest.h>

#include "console/cartridge_verification.h"
#include "console/nsf_verification.h"
#include "export/cart_images.h"
#include "export/nsf_layout.h"
#include "export/rom_layout.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cart_songs.h"
#include "tests/cli_runner.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

constexpr size_t kTicksPastTheLoop = 64;

struct NamedSong {
  const char* name;
  Song (*make)();
};

// Together they use every effect, both standards, samples that loop, stop
// and restart, and every way a song reaches its loop point.
const NamedSong kSongs[] = {
    {"Effects", effectsSong},
    {"Wrapping", wrappingSong},
    {"SamplesPal", [] { return samplesSong(false); }},
    {"SamplesNtsc", [] { return samplesSong(true); }},
    {"Empty",
     [] {
       Song s;
       writeProgramStartInstruments(s);
       return s;
     }},
};

void PrintTo(const NamedSong& song, std::ostream* out) { *out << song.name; }

class VerifiedSong : public testing::TestWithParam<NamedSong> {};

TEST_P(VerifiedSong, BothExportsPlayAsTheEditorDoes) {
  resetToProgramStart();
  TempDir dir;
  writeFile(dir.file("song.qcm"), encodeModule(GetParam().make()));
  const CliResult r = runCli({"--verify", dir.file("song.qcm")});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(" ticks, registers equal, 156 DAC writes per tick\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" console, registers equal, "), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Songs, VerifiedSong, testing::ValuesIn(kSongs),
                         [](const auto& info) { return std::string(info.param.name); });

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Unoptimised, the demo's 4256 ticks take too long for the sanitizer builds.
TEST(Verify, TheDemoSongPlaysAsTheEditorDoesOnBothExports) {
  resetToProgramStart();
  const CliResult r = runCli({"--verify", QC_EXAMPLES_DIR "/demo.qcm"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "nsf: 4256 ticks, registers equal, 156 DAC writes per tick\n"
            "nes: 4257 frames on a PAL console, registers equal, 274648 sample bytes equal\n");
}
#endif

TEST(Verify, TheCartridgesDifferencesByDesignAreNamedWhereTheSongHasThem) {
  resetToProgramStart();
  // Each line named by what it is about.
  auto topics = [](const Song& song) {
    const auto reference = cartridgeReference(song, !song.ntsc, int(kTicksPastTheLoop), 20000);
    EXPECT_TRUE(reference);
    std::string text;
    for (const std::string& line : cartridgeDesignDifferences(*reference, song.samples, !song.ntsc)) {
      EXPECT_EQ(line.rfind("nes: by design, ", 0), 0u) << line;
      text += line.find("60 Hz") != std::string::npos ? "frame rate;" : line.find("looping") != std::string::npos ? "loop;" : line;
    }
    return text;
  };
  EXPECT_EQ(topics(samplesSong(true)), "frame rate;loop;");
  EXPECT_EQ(topics(samplesSong(false)), "loop;");
  EXPECT_EQ(topics(effectsSong()), "");
}

TEST(Verify, ACorruptStreamByteIsFoundAtItsTick) {
  resetToProgramStart();
  app.song = samplesSong(false);
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
  EXPECT_EQ(verifyNsf(*reference, other, false, kTicksPastTheLoop).line, "nsf: tick 0: DAC byte 49: expected $01, got $00");
}

TEST(Verify, ACorruptPatternByteIsFoundAtItsFrameAndRow) {
  resetToProgramStart();
  app.song = samplesSong(false);
  const auto reference = cartridgeReference(app.song, true, int(kTicksPastTheLoop), 10000);
  ASSERT_TRUE(reference);
  std::vector<uint8_t> image = buildRomImage(app.song, kCartPlayerImage, kCartCharacterRom).bytes;
  EXPECT_TRUE(verifyCartridge(image, *reference, app.song.samples, true).equal);
  image[kInesHeaderSize + 8 * kRomRowBytes] = 60;  // pattern 0, row 8, pulse 1: a note
  const VerificationResult bad = verifyCartridge(image, *reference, app.song.samples, true);
  EXPECT_FALSE(bad.equal);
  EXPECT_NE(bad.line.find("(order 0 row 8 tick 0)"), std::string::npos) << bad.line;
  std::array<RawSample, kSampleSlots> other = app.song.samples;
  other[1].data[5] ^= 1;
  const VerificationResult samples = verifyCartridge(image, *reference, other, true);
  EXPECT_NE(samples.line.find("(order 0 row 0 tick "), std::string::npos) << samples.line;
}

TEST(Verify, ASongThatNeverLoopsFailsWithAReason) {
  resetToProgramStart();
  Song song;
  writeProgramStartInstruments(song);
  putCell(song, 0, 0, 0, 0, 0, 0xF, "00");  // speed 0
  TempDir dir;
  writeFile(dir.file("stuck.qcm"), encodeModule(song));
  const CliResult r = runCli({"--verify", dir.file("stuck.qcm")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "nsf: the song cannot be exported as NSF\nnes: no loop point within 20 minutes\n");
}

}  // namespace

}  // namespace qc
