// The panels beside the pattern: the order list, the instrument list with
// its names, and the envelope editor.
#include <tuple>

#include "key_test_support.h"

namespace qc {

namespace {

template <int focus>
class PanelTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    app.editor.focus = focus;
  }
};

class OrderListTest : public PanelTest<kFocusOrderList> {
 protected:
  void setOrders(std::initializer_list<int32_t> orders) {
    app.song.orderCount = int32_t(orders.size());
    std::copy(orders.begin(), orders.end(), app.song.orders.begin());
  }
  std::vector<int32_t> orders() const {
    return {app.song.orders.begin(), app.song.orders.begin() + app.song.orderCount};
  }
};

TEST_F(OrderListTest, InsertDuplicatesUntilFullBackspaceRemovesTheEntryBeforeDeleteTheEntryAt) {
  setOrders({3, 7, 9});
  app.editor.orderCursor = 1;
  press(kKeyInsert);
  EXPECT_EQ(orders(), (std::vector<int32_t>{3, 7, 7, 9}));
  EXPECT_EQ(app.editor.orderCursor, 1);
  press(kKeyBackspace);
  EXPECT_EQ(orders(), (std::vector<int32_t>{7, 7, 9}));
  EXPECT_EQ(app.editor.orderCursor, 0);
  press(kKeyBackspace);
  EXPECT_EQ(orders().size(), 3u);
  app.editor.orderCursor = 2;
  press(kKeyDelete);  // the cursor stays inside the list
  EXPECT_EQ(orders(), (std::vector<int32_t>{7, 7}));
  EXPECT_EQ(app.editor.orderCursor, 1);
  app.song.orderCount = kMaxOrders;
  press(kKeyInsert);
  EXPECT_EQ(app.song.orderCount, kMaxOrders);
  setOrders({5});
  app.editor.orderCursor = 0;
  pressEach({kKeyDelete, kKeyBackspace});
  EXPECT_EQ(orders(), (std::vector<int32_t>{5}));
}

TEST_F(OrderListTest, EntriesAndCursorAreClamped) {
  setOrders({0, 31, 4, 4, 4, 4});
  // Each key, then the cursor and the entry under it.
  const std::array<int32_t, 3> steps[] = {{kKeyLeft, 0, 0},    {kKeyDown, 1, 31},  {kKeyRight, 1, 31},
                                          {kKeyPageDown, 5, 4}, {kKeyPageUp, 1, 31}, {kKeyPageUp, 0, 0},
                                          {kKeyEnd, 5, 4},      {kKeyDown, 5, 4}};
  for (const auto& [sym, cursor, entry] : steps) {
    press(sym);
    EXPECT_EQ((std::array{app.editor.orderCursor, app.song.orders[size_t(app.editor.orderCursor)]}),
              (std::array{cursor, entry}))
        << "key " << sym;
  }
}

TEST_F(OrderListTest, UnlistedKeysReachTheGlobalMap) {
  press(kKeyEscape);
  EXPECT_TRUE(app.editor.editMode);
  press('q');  // a preview, not an entry
  EXPECT_TRUE(cellAt(0, 0).empty());
}

class InstrumentListTest : public PanelTest<kFocusInstrumentList> {
 protected:
  static void startNaming() { press(kKeyReturn, 0, '\r'); }
  static std::string& name() { return app.song.instrumentNames[app.editor.currentInstrument]; }
};

TEST_F(InstrumentListTest, ChoosingClampsAndMovesTheNameCursor) {
  app.song.instrumentNames[5] = "lead";
  press(kKeyPageDown);
  EXPECT_EQ(app.editor.currentInstrument, 5);
  EXPECT_EQ(app.editor.nameCursor, 4);
  pressEach({kKeyEnd, kKeyDown});
  EXPECT_EQ(app.editor.currentInstrument, 15);
  pressEach({kKeyHome, kKeyUp});
  EXPECT_EQ(app.editor.currentInstrument, 0);
}

TEST_F(InstrumentListTest, TypingEditsTheNameAtTheCursor) {
  startNaming();
  for (char ch : std::string("Bas")) type(ch);
  pressEach({kKeyLeft, kKeyLeft});
  type('x');
  EXPECT_EQ(name(), "Bxas");
  press(kKeyBackspace, 0, 8);
  press(kKeyDelete, 0, 127);
  EXPECT_EQ(name(), "Bs");
  press(kKeyEnd);
  press(kKeyTab, 0, 9);
  EXPECT_EQ(name(), "Bs    ");
  EXPECT_EQ(app.editor.nameCursor, 6);
  press(kKeyReturn, 0, '\r');
  EXPECT_FALSE(app.editor.naming);
}

TEST_F(InstrumentListTest, AFullNameTakesNothingMoreAndSpaceFallsThrough) {
  startNaming();
  for (int i = 0; i < 35; ++i) type('a' + i % 26);
  EXPECT_EQ(name().size(), size_t(kMaxNameLength));
  press(kKeyTab, 0, 9);
  EXPECT_EQ(name().size(), size_t(kMaxNameLength));
  type(' ');
  EXPECT_TRUE(app.editor.editMode);
  name() = std::string(28, 'n');
  app.editor.nameCursor = 28;
  press(kKeyTab, 0, 9);
  EXPECT_EQ(name(), std::string(28, 'n') + "  ");
}

TEST_F(InstrumentListTest, SlotZeroHasNoNameNamingSoundsNoPreviewAndF1EndsIt) {
  app.editor.currentInstrument = 0;
  startNaming();
  type('a');
  press(kKeyBackspace, 0, 8);
  EXPECT_EQ(app.song.instrumentNames[0], "");
  EXPECT_FALSE(app.editor.editMode);  // the character was consumed
  app.editor.currentInstrument = 1;
  type('q');
  EXPECT_TRUE(app.preview.heldPianoKeys.empty());
  press(kKeyF1);
  EXPECT_FALSE(app.editor.naming);
  EXPECT_EQ(app.editor.focus, kFocusPattern);
}

class EnvelopeEditorTest : public PanelTest<kFocusEnvelope> {
 protected:
  using Volume = std::tuple<std::vector<int32_t>, int32_t, int32_t>;  // values, loop, cursor

  Envelope& envelope(int kind) { return app.song.envelopes[1][kind]; }
  std::vector<int32_t> values(int kind) {
    const Envelope& env = envelope(kind);
    return {env.values, env.values + envelopeLength(env)};
  }
  Volume volume() { return {values(kVolumeEnvelope), envelope(kVolumeEnvelope).loop, app.editor.envelopeCursor[0]}; }
};

TEST_F(EnvelopeEditorTest, OneValueCannotBeDeletedAndInsertDuplicatesUpToEightyThree) {
  press(kKeyDelete);
  EXPECT_EQ(values(kVolumeEnvelope), (std::vector<int32_t>{15}));
  press(kKeyInsert);
  EXPECT_EQ(values(kVolumeEnvelope), (std::vector<int32_t>{15, 15}));
  for (int i = 0; i < 90; ++i) press(kKeyInsert);
  EXPECT_EQ(envelopeLength(envelope(kVolumeEnvelope)), kMaxEnvelopeLength);
}

TEST_F(EnvelopeEditorTest, DeleteAndBackspacePullCursorAndLoopBack) {
  setEnvelope(envelope(kVolumeEnvelope), {10, 11, 12}, 2);
  app.editor.envelopeCursor[kVolumeEnvelope] = 2;
  press(kKeyDelete);
  EXPECT_EQ(volume(), (Volume{{10, 11}, 1, 1}));

  setEnvelope(envelope(kVolumeEnvelope), {10, 11, 12}, 1);
  app.editor.envelopeCursor[kVolumeEnvelope] = 1;
  press(kKeyBackspace);
  EXPECT_EQ(volume(), (Volume{{11, 12}, 0, 0}));
  press(kKeyBackspace);
  EXPECT_EQ(values(kVolumeEnvelope).size(), 2u);
  setEnvelope(envelope(kVolumeEnvelope), {10, 11, 12}, 2);
  app.editor.envelopeCursor[kVolumeEnvelope] = 1;
  press(kKeyBackspace);
  EXPECT_EQ(envelope(kVolumeEnvelope).loop, 1);
}

TEST_F(EnvelopeEditorTest, ValuesStayInTheirKindsRange) {
  setEnvelope(envelope(kVolumeEnvelope), {15});
  press(kKeyUp);
  EXPECT_EQ(values(kVolumeEnvelope)[0], 15);
  press(kKeyPageUp);
  EXPECT_EQ(app.editor.selectedEnvelope, kDutyEnvelope);
  pressEach({kKeyUp, kKeyUp});
  EXPECT_EQ(values(kDutyEnvelope)[0], 3);
  press(kKeyReturn);  // only the note envelope has fixed notes
  EXPECT_EQ(values(kDutyEnvelope)[0], 3);

  app.editor.selectedEnvelope = kNoteEnvelope;  // note values keep to their half
  setEnvelope(envelope(kNoteEnvelope), {127});
  press(kKeyUp);
  EXPECT_EQ(values(kNoteEnvelope)[0], 127);
  press(kKeyReturn);
  EXPECT_EQ(values(kNoteEnvelope)[0], 255);
  press(kKeyUp);
  EXPECT_EQ(values(kNoteEnvelope)[0], 255);
  setEnvelope(envelope(kNoteEnvelope), {128});
  press(kKeyDown);
  EXPECT_EQ(values(kNoteEnvelope)[0], 128);
}

TEST_F(EnvelopeEditorTest, ShiftMovesTheLoopInsteadOfTheCursor) {
  setEnvelope(envelope(kVolumeEnvelope), {1, 2, 3});
  pressEach({kKeyRight, kKeyRight, kKeyRight}, kModRShift);
  EXPECT_EQ(volume(), (Volume{{1, 2, 3}, 2, 0}));
  press(kKeyEnd);
  press(kKeyHome, kModLShift);
  EXPECT_EQ(volume(), (Volume{{1, 2, 3}, 0, 2}));
}

TEST_F(EnvelopeEditorTest, AnEnvelopeWithoutSentinelIsEditedSafely) {
  Envelope& env = envelope(kVolumeEnvelope);
  std::fill(env.values, env.values + kEnvelopeValueSlots, 5);
  app.editor.envelopeCursor[kVolumeEnvelope] = 83;
  pressEach({kKeyInsert, kKeyDelete});
  EXPECT_EQ(envelopeLength(env), 83);
}

}  // namespace

}  // namespace qc
