// Playing from the editor and from the command line. The editor's options
// reach its player at the next callback, its play position reaches the cursor,
// and held piano keys preview notes; --trace prints the player's every tick,
// and --trace and --render refuse what they cannot play or write.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "editor/live_player.h"
#include "key_test_support.h"
#include "playback/clock_rates.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

TEST(LivePlayer, TakesTheEditorsOptionsAndMovesTheCursor) {
  resetToProgramStart();
  initLivePlayback();
  std::vector<std::pair<uint32_t, uint8_t>> writes;
  app.engine.writeObserver = [&](uint32_t address, uint8_t value, int32_t) { writes.push_back({address, value}); };
  EditorState& e = app.editor;
  e.metronome = true;
  e.repeatBlock = true;
  e.repeatStartRow = 5;
  e.repeatEndRow = 4;
  e.channelMask = 0x1E;
  e.channelMaskChanged = true;
  playSong();
  std::vector<int16_t> frame(kOutputRate / 50);
  auto playFrames = [&](int count) {
    for (int i = 0; i < count; ++i) fillLiveAudio(frame.data(), int(frame.size()));
  };
  playFrames(8);
  EXPECT_EQ(e.cursorRow, 5);
  playFrames(6);
  EXPECT_EQ(e.cursorRow, 4) << "the block loops";
  EXPECT_NE(std::find(writes.begin(), writes.end(), std::pair<uint32_t, uint8_t>{0x4015, 0x1E}), writes.end());
  EXPECT_NE(std::find(writes.begin(), writes.end(), std::pair<uint32_t, uint8_t>{0x9000, 0x7F}), writes.end())
      << "row 4 clicks";

  e.cursorFollow = false;
  e.cursorRow = 40;
  playFrames(12);
  EXPECT_EQ(e.cursorRow, 40);
  ASSERT_TRUE(playingRow());
  stopPlayback();
  playFrames(1);
  EXPECT_FALSE(playingRow());
  app.engine.writeObserver = nullptr;
}

using NotePreviewTest = EditorTest;

std::vector<int32_t> held() { return app.preview.heldPianoKeys; }

TEST_F(NotePreviewTest, HeldKeysFormAMonophonicStack) {
  press('q');
  press('w');
  press('e');
  press('w');  // key repeat
  EXPECT_EQ(held(), (std::vector<int32_t>{'q', 'w', 'e'}));
  release('w');
  EXPECT_EQ(held(), (std::vector<int32_t>{'q', 'e'}));
  release('e');
  release('q');
  EXPECT_TRUE(held().empty());
  EXPECT_FALSE(app.preview.pianoKeyDown['q']);
  press('q');
  EXPECT_EQ(held(), (std::vector<int32_t>{'q'}));
}

TEST_F(NotePreviewTest, WhereKeysPreviewAndWhenReleasesCount) {
  app.editor.cursorChannel = kPcmTrack;
  press('q');
  EXPECT_TRUE(held().empty());
  app.editor.cursorChannel = 0;
  editMode();
  press('q');
  EXPECT_TRUE(held().empty());
  app.editor.editMode = false;
  // Other editors preview plain piano keys only.
  app.editor.focus = kFocusEnvelope;
  press('q', kModLShift);
  press('2');
  EXPECT_EQ(held(), (std::vector<int32_t>{'2'}));
  // Naming ignores releases.
  app.editor.focus = kFocusInstrumentList;
  app.editor.naming = true;
  release('2');
  EXPECT_EQ(held(), (std::vector<int32_t>{'2'}));
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

class PlayCommands : public ::testing::Test {
 protected:
  void SetUp() override { writeProgramStartInstruments(song); }
  std::string writeSong() {
    const std::string path = dir.file("song.qcm");
    writeFile(path, encodeModule(song));
    return path;
  }
  Song song;
  TempDir dir;
};

TEST_F(PlayCommands, TracePrintsEveryTickToTheLoopPoint) {
  song.patterns[0].cells[0][0] = Cell{49, 0x01, 0};
  song.patterns[0].cells[4][0].note = 3;
  const CliResult r = runCli({"--trace", writeSong()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto out = lines(r.out);
  ASSERT_EQ(out.size(), size_t(64 * 6));
  // order row tick, then the twelve captured fields; PAL C-4 is period 198.
  EXPECT_EQ(out[0], "0 0 0 0 198 47 -1 -1 0 -1 -1 0 -1 0 3");
  EXPECT_EQ(out[1], "0 0 1 0 198 47 -1 -1 0 -1 -1 0 -1 0 0");
  EXPECT_EQ(out.back().substr(0, 7), "0 63 5 ");
  EXPECT_EQ(lines(runCli({"--trace", writeSong(), "--ticks", "10"}).out).size(), 10u);
}

TEST_F(PlayCommands, TraceOfASongAtSpeedZeroEndsAtTheCapWithAWarning) {
  song.patterns[0].cells[0][0] = Cell{0, 0xF0, 0};
  const CliResult r = runCli({"--trace", writeSong()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(lines(r.out).size(), size_t(20 * 60 * 1662607.0 / 33247.5 + 0.5));
  EXPECT_NE(r.err.find("speed 0"), std::string::npos) << r.err;
}

TEST_F(PlayCommands, RejectBadArgumentsMissingModulesAndUnwritableOutput) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--trace"}, {"--trace", writeSong(), "--ticks", "0"},
        {"--trace", writeSong(), "--ticks", "12x"}, {"--render"}})
    EXPECT_EQ(runCli(args).status, 1) << args.back();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--trace", dir.file("missing.qcm")},
                                               {"--render", dir.file("missing.qcm"), dir.file("out.wav")}}) {
    const CliResult missing = runCli(args);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("missing.qcm"), std::string::npos) << args[0];
  }
  const CliResult unwritable = runCli({"--render", writeSong(), dir.file("no/such/dir/out.wav")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

}  // namespace

}  // namespace qc
