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

namespace {

// Compiles the current song as the export does, keeping the compiler's log.
bool compileQuietly(SongStreams& streams, std::string* log = nullptr) {
  std::string printed;
  const bool ok = compileSong(app.song, streams, [&](const std::string& line) { printed += line + "\n"; });
  if (log) *log = printed;
  return ok;
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

struct ShellLog {
  static inline std::string calls;
  static void lock() { calls += "L"; }
  static void unlock() { calls += "U"; }
  static void pause(bool paused) { calls += paused ? "P" : "R"; }
};

class NsfExportShell : public NsfExport {
 protected:
  void SetUp() override {
    NsfExport::SetUp();
    saved_ = shell;
    ShellLog::calls.clear();
    shell.lockAudio = ShellLog::lock;
    shell.unlockAudio = ShellLog::unlock;
    shell.pauseAudio = ShellLog::pause;
    Player& p = app.player;
    p.playing = true;
    p.sequencerRunning = true;
    p.tempo = 99;
    p.speed = 3;
    p.playOrder = 0;
    p.playRow = 17;
    p.playTick = 2;
    p.tempoAccumulator = 1234;
    p.playPatternOnly = true;
    p.pcmPosition = 12.5;
    p.pcmSample = 4;
    app.editor.repeatBlock = true;
  }
  void TearDown() override { shell = saved_; }

  // Exports, then checks that the live player and the audio device were not touched.
  bool exportAndCheckUntouched(const std::string& path) {
    const bool ok = exportNsf(app.song, path);
    const Player& p = app.player;
    EXPECT_EQ(p.tempo, 99);
    EXPECT_EQ(p.speed, 3);
    EXPECT_EQ(p.playRow, 17);
    EXPECT_EQ(p.playTick, 2);
    EXPECT_EQ(p.tempoAccumulator, 1234);
    EXPECT_TRUE(p.playPatternOnly);
    EXPECT_EQ(p.pcmPosition, 12.5);
    EXPECT_EQ(p.pcmSample, 4);
    EXPECT_TRUE(p.playing);
    EXPECT_TRUE(p.sequencerRunning);
    EXPECT_FALSE(p.silenceRequest);
    EXPECT_TRUE(app.editor.repeatBlock);
    EXPECT_EQ(ShellLog::calls, "") << "the device is neither paused nor locked";
    return ok;
  }

 private:
  ShellServices saved_;
};

TEST_F(NsfExportShell, SuccessLeavesPlaybackAlone) {
  ASSERT_TRUE(exportAndCheckUntouched(dir.file("song.nsf")));
  std::vector<uint8_t> file = readFile(dir.file("song.nsf"));
  ASSERT_GT(file.size(), 128u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "NESM");
}

TEST_F(NsfExportShell, SongThatNeverLoopsIsRefusedAndPlaybackGoesOn) {
  putCell(app.song, 0, 0, 0, 0, 0, 0xF, "00");  // speed 0: the first row never ends
  writeFile(dir.file("old.nsf"), {1, 2, 3});
  EXPECT_FALSE(exportAndCheckUntouched(dir.file("old.nsf")));
  EXPECT_EQ(readFile(dir.file("old.nsf")), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary was left";
}

TEST_F(NsfExportShell, UnwritablePathFailsWithoutAFile) {
  EXPECT_FALSE(exportAndCheckUntouched(dir.file("missing/song.nsf")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

}  // namespace
