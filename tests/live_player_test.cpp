// The editor's player: the editor's options reach it at the next callback,
// and its play position reaches the cursor.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editor/live_player.h"
#include "playback/clock_rates.h"
#include "song/app_state.h"

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

}  // namespace

}  // namespace qc
