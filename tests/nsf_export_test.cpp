// The NSF export of whole songs: the simulation, the saved player state and
// audio device, the file on disk, and the result on the driver.
#include "export/nsf_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/song_compiler.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "song/shell_services.h"
#include "tests/nsf_playback.h"
#include "tests/song_cells.h"
#include "tests/temp_dir.h"

namespace {

std::vector<uint8_t> ramp(size_t length, int step) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; i++) data[i] = uint8_t((i * size_t(step)) % 128);
  return data;
}

// Three orders; the last jumps back to the second. Envelopes, effects,
// tempo and speed changes, note-offs and sample triggers on every track.
void buildSong(bool ntsc) {
  Song& s = app.song;
  s.ntsc = ntsc;
  s.orderCount = 3;
  s.orders[0] = 0;
  s.orders[1] = 1;
  s.orders[2] = 2;
  setEnvelope(s.envelopes[2][kVolumeEnvelope], {15, 13, 11, 9, 7, 5}, 5);
  setEnvelope(s.envelopes[2][kNoteEnvelope], {64, 67, 71}, 0);
  setEnvelope(s.envelopes[2][kDutyEnvelope], {0, 1, 2, 3}, 0);
  s.samples[1].data = ramp(2000, 3);
  s.samples[2].data = ramp(300, 7);
  s.samples[2].loop = true;
  s.samples[4].data = ramp(90, 1);

  putCell(s, 0, 0, 0, 49, 1, 0xF, "03");
  putCell(s, 0, 0, 8, 53, 1, 4, "46");
  putCell(s, 0, 0, 16, kNoteOff);
  putCell(s, 0, 0, 20, 56, 2);
  putCell(s, 0, 0, 31, 0, 0, 0xD, "00");
  putCell(s, 0, 1, 0, 37, 2, 0, "37");
  putCell(s, 0, 1, 12, 0, 0, 0xC, "35");
  putCell(s, 0, 2, 0, 25, 1);
  putCell(s, 0, 2, 16, 30, 1, 3, "08");
  putCell(s, 0, 3, 0, 10, 1);
  putCell(s, 0, 3, 4, 20, 1);
  putCell(s, 0, 3, 24, kNoteOff);
  putCell(s, 0, 4, 0, 1);
  putCell(s, 0, 4, 12, 2);
  putCell(s, 0, 4, 13, 2);
  putCell(s, 0, 4, 20, 3);
  putCell(s, 0, 4, 26, 4);

  putCell(s, 1, 0, 0, 40, 1, 1, "02");
  putCell(s, 1, 0, 4, 0, 0, 0xF, "A0");
  putCell(s, 1, 0, 8, 0, 0, 2, "03");
  putCell(s, 1, 0, 16, 60, 1, 0xA, "02");
  putCell(s, 1, 0, 20, 0, 0, 0xF, "05");
  putCell(s, 1, 1, 0, 50, 1, 7, "48");
  putCell(s, 1, 1, 31, 0, 0, 0xD, "00");
  putCell(s, 1, 2, 0, 36, 2);
  putCell(s, 1, 3, 0, 5, 2);
  putCell(s, 1, 3, 10, 0, 0, 0xE, "11");
  putCell(s, 1, 4, 2, 2);
  putCell(s, 1, 4, 24, 1);

  putCell(s, 2, 0, 0, 45, 2);
  putCell(s, 2, 0, 4, 47, 1, 0xE, "D2");
  putCell(s, 2, 2, 8, kNoteOff);
  putCell(s, 2, 0, 15, 0, 0, 0xB, "01");
}

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

class NsfExportedSong : public NsfExport, public testing::WithParamInterface<bool> {};

TEST_P(NsfExportedSong, PlaysTickForTickOnTheDriverAcrossItsLoopPoint) {
  bool ntsc = GetParam();
  buildSong(ntsc);
  SongStreams streams;
  ASSERT_TRUE(compileQuietly(streams));
  EXPECT_EQ(streams.loopPoint, 1);
  std::vector<OrderPass> passes = passesOf(streams);
  ASSERT_EQ(passes.size(), 3u);
  std::optional<std::vector<uint8_t>> file = compileNsf(app.song);
  ASSERT_TRUE(file);
  // Every pass, from the loop point on once more, and three ticks further.
  int ticks = 3;
  for (size_t p = 0; p < passes.size(); p++) ticks += int(passes[p].size()) * (p >= 1 ? 2 : 1);
  expectDriverPlays(*file, passes, streams.loopPoint, app.song.samples, ntsc, ticks);
}

INSTANTIATE_TEST_SUITE_P(PalAndNtsc, NsfExportedSong, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ntsc" : "Pal"; });

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
