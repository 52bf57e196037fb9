// The NSF export: the simulation's passes and log, the saved player state
// and audio device, the file on disk. What the file plays is checked by the
// verification (export_verification_test.cpp).
#include "export/nsf_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/song_compiler.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/shell_services.h"
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
  // Speed 2 has a tick between the rows to stop the trigger; speed 1 holds it.
  for (auto [speed, expected] : {std::pair{"02", std::vector<int32_t>{5, 0, 5, 0, 0}},
                                 std::pair{"01", std::vector<int32_t>{5, 5, 0}}}) {
    putCell(app.song, 0, 0, 0, 0, 0, 0xF, speed);
    SongStreams streams;
    ASSERT_TRUE(compileQuietly(streams));
    const std::vector<int32_t>& pcm = streams.channels[kPcmTrack].pool[0].records;
    ASSERT_GE(pcm.size(), expected.size());
    EXPECT_EQ(std::vector<int32_t>(pcm.begin(), pcm.begin() + long(expected.size())), expected) << "speed " << speed;
  }
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary was left";
}

}  // namespace

}  // namespace qc
