// The NSF export: the simulation's passes and log, the player state it
// leaves as it was, the file on disk, and the file as Game Music Emu, an
// independent player, reads it: the NSFe's names and length, the NSF
// playing as on our console in both standards. What the file plays tick
// by tick is checked by the verification (export_verification_test.cpp).
#include "export/nsf_export.h"

#include <gme/gme.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/console_render.h"
#include "export/audio_export.h"
#include "export/song_compiler.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "tests/example_songs.h"
#include "tests/gme_render.h"
#include "tests/song_cells.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

// Compiles the current song as the export does, keeping the compiler's log.
bool compileQuietly(SongStreams& streams, std::string* log = nullptr) {
  return compileSong(app.song, streams, [log](const std::string& line) {
    if (log) *log += line + "\n";
  });
}

class NsfExport : public testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

TEST_F(NsfExport, OneOrderPlayingThroughIsOnePassThatLoopsToItself) {
  SongStreams streams;
  std::string log;
  ASSERT_TRUE(compileQuietly(streams, &log));
  EXPECT_EQ(log,
            "order 0 entried at row 0\n  pulse orders = 0\n"
            "order 0 entried at row 0\n  pulse orders = 1\n"
            "  order already entried, loop point found, bailing out\n  loop point = 0\n");
  EXPECT_EQ(streams.channels[0].orderList, std::vector<int>{0});
  EXPECT_EQ(streams.channels[0].pool[0].ticks, kRows * 6);
}

TEST_F(NsfExport, BreakBackIntoItsOwnOrderLoopsAtTheSecondPass) {
  putCell(app.song, 0, 0, 48, 0, 0, 0xD, "32");  // tens and units: row 32
  SongStreams streams;
  std::string log;
  ASSERT_TRUE(compileQuietly(streams, &log));
  EXPECT_NE(log.find("order 0 entried at row 32\n  pulse orders = 1\n"), std::string::npos) << log;
  EXPECT_EQ(streams.channels[0].orderList.size(), 2u);
  EXPECT_EQ(streams.loopPoint, 1);
}

TEST_F(NsfExport, SampleTriggersRepeatOnlyWhereARowStartsThem) {
  putCell(app.song, 0, 4, 0, 5);
  putCell(app.song, 0, 4, 1, 5);
  // Speed 1 has no tick between the rows to stop the trigger: it is held,
  // not repeated (a tick between the rows ends it; the verification plays that).
  putCell(app.song, 0, 0, 0, 0, 0, 0xF, "01");
  SongStreams streams;
  ASSERT_TRUE(compileQuietly(streams));
  const std::vector<int32_t>& pcm = streams.channels[kPcmTrack].pool[0].records;
  ASSERT_GE(pcm.size(), 3u);
  EXPECT_EQ(std::vector<int32_t>(pcm.begin(), pcm.begin() + 3), (std::vector<int32_t>{5, 5, 0}));
}

TEST_F(NsfExport, WritesTheFileWhileTheSongPlaysOnOrFailsLeavingTheOldFileAndNoTemporary) {
  app.player.playing = true;
  app.player.playRow = 17;
  ASSERT_TRUE(exportNsf(app.song, dir.file("song.nsf")));
  EXPECT_TRUE(app.player.playing);
  EXPECT_EQ(app.player.playRow, 17);
  const std::vector<uint8_t> file = readFile(dir.file("song.nsf"));
  EXPECT_EQ(file, compileNsf(app.song).value_or(std::vector<uint8_t>{}));
  EXPECT_FALSE(exportNsf(app.song, dir.file("missing/song.nsf")));
  putCell(app.song, 0, 0, 0, 0, 0, 0xF, "00");  // speed 0: the first row never ends
  EXPECT_FALSE(exportNsf(app.song, dir.file("song.nsf")));
  EXPECT_EQ(readFile(dir.file("song.nsf")), file);
  EXPECT_EQ(dir.entries(), 1) << "a temporary was left";
}

TEST(NsfeExport, GameMusicEmuReadsTheNamesTheRendersLengthAndPlaysTheNsf) {
  Song song = exampleSong("demo.qcm");
  song.instrumentNames[3] = "";
  const std::optional<std::vector<uint8_t>> nsfe = compileNsfe(song), nsf = compileNsf(song);
  ASSERT_TRUE(nsfe && nsf);

  Music_Emu* emu = nullptr;
  ASSERT_EQ(gme_open_data(nsfe->data(), long(nsfe->size()), &emu, kGmeRate), nullptr);
  gme_info_t* info = nullptr;
  ASSERT_EQ(gme_track_info(emu, &info, 0), nullptr);
  const double rendered = double(planAudioExport(song, {.loops = 1}).samples) / 44100 * 1000;
  EXPECT_NEAR(info->play_length, rendered, 20);
  EXPECT_EQ(std::string(info->song), song.instrumentNames[1]);
  EXPECT_EQ(std::string(info->author), song.instrumentNames[2]);
  EXPECT_EQ(std::string(info->copyright), "");  // gme reads the header's "<?>" as no name
  gme_free_info(info);
  gme_delete(emu);

  EXPECT_EQ(renderWithGme(*nsfe, 1.5), renderWithGme(*nsf, 1.5));
}

TEST(NsfInGme, TheDemoInPalAndNotesAndSamplesInNtscPlayAsOnOurConsole) {
  constexpr double kSeconds = 6.0;
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
