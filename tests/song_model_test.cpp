#include <gtest/gtest.h>

#include "song/app_state.h"

namespace qc {

namespace {

TEST(ProgramStart, HoldsOneOrderInstrumentOneAndPal) {
  resetToProgramStart();
  const Song& s = app.song;
  EXPECT_EQ(s.orderCount, 1);
  EXPECT_EQ(s.orders[0], 0);
  EXPECT_FALSE(s.ntsc);
  for (int slot = 0; slot < kInstrumentSlots; ++slot)
    for (int k = 0; k < kEnvelopeKinds; ++k) {
      EXPECT_EQ(envelopeLength(s.envelopes[slot][k]), 1);
      EXPECT_EQ(s.envelopes[slot][k].loop, 0);
    }
  for (const RawSample& sample : s.samples) EXPECT_FALSE(sample.holdsData());
  EXPECT_EQ(app.editor.octave, 3);
  EXPECT_EQ(app.editor.repeatEndRow, 63);
  EXPECT_EQ(app.editor.channelMask, 31u);
  EXPECT_TRUE(app.editor.cursorFollow);
  EXPECT_EQ(app.player.speed, 6);
  EXPECT_EQ(app.player.tempo, 125);
}

}  // namespace

}  // namespace qc
