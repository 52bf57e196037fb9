#include "key_test_support.h"

namespace qc {

namespace {

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
