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
  EXPECT_EQ(s.envelopes[1][kVolumeEnvelope].values[0], 15);
  EXPECT_EQ(s.envelopes[1][kNoteEnvelope].values[0], 64);
  EXPECT_EQ(s.envelopes[1][kDutyEnvelope].values[0], 2);
  for (int slot = 0; slot < kInstrumentSlots; ++slot)
    for (int k = 0; k < kEnvelopeKinds; ++k) {
      EXPECT_EQ(envelopeLength(s.envelopes[slot][k]), 1);
      EXPECT_EQ(s.envelopes[slot][k].loop, 0);
    }
  EXPECT_EQ(s.envelopes[2][kVolumeEnvelope].values[0], 0);
  EXPECT_EQ(s.envelopes[2][kNoteEnvelope].values[0], 64);
  for (const RawSample& sample : s.samples) EXPECT_FALSE(sample.holdsData());
  EXPECT_EQ(app.editor.octave, 3);
  EXPECT_EQ(app.editor.repeatEndRow, 63);
  EXPECT_EQ(app.editor.channelMask, 31u);
  EXPECT_TRUE(app.editor.cursorFollow);
  EXPECT_EQ(app.player.speed, 6);
  EXPECT_EQ(app.player.tempo, 125);
}

TEST(UsedPatternCount, IsOneMoreThanTheLastPatternInUse) {
  resetToProgramStart();
  EXPECT_EQ(usedPatternCount(app.song), 0);
  app.song.patterns[5].cells[4][63].param = 1;  // any nonzero byte counts, even on the PCM track
  EXPECT_EQ(usedPatternCount(app.song), 6);
}

TEST(EnvelopeLength, CountsValuesBeforeTheSentinel) {
  Envelope e;
  setEnvelope(e, {64});
  EXPECT_EQ(envelopeLength(e), 1);
  setEnvelope(e, {});
  EXPECT_EQ(envelopeLength(e), 0);
  for (int32_t& v : e.values) v = 1;
  EXPECT_EQ(envelopeLength(e), -1);
}

TEST(CellDigits, AreStoredSwapped) {
  Cell c;
  c.param = 0x21;  // typed 1 then 2
  EXPECT_EQ(c.paramValue(), 0x12);
  c.setInstrument(0xA);
  c.setEffect(0x3);
  EXPECT_EQ(c.instrumentEffect, 0x3A);
}

}  // namespace

}  // namespace qc
