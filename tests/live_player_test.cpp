// The editor's player: the editor's options reach it at the next callback,
// its play position reaches the cursor, and held piano keys preview notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editor/live_player.h"
#include "key_test_support.h"
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

}  // namespace

}  // namespace qc
