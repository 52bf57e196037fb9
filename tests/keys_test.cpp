// The keys that work everywhere, undo and redo among them, the status line
// they report on, and the key table against what the handlers do.
#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

#include "editor/file_command.h"
#include "editor/key_bindings.h"
#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "key_test_support.h"

namespace qc {

namespace {

std::vector<FileCommand> ranCommands;

class GlobalKeysTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    ranCommands.clear();
    setFileCommandRunner([](FileCommand command) { ranCommands.push_back(command); });
  }
  void TearDown() override {
    setFileCommandRunner(nullptr);
    EditorTest::TearDown();
  }
};

TEST_F(GlobalKeysTest, WhileNamingPlayKeysAreIgnoredButShiftEscapeQuits) {
  app.editor.focus = kFocusInstrumentList;
  app.editor.naming = true;
  press(kKeyRCtrl, kModRCtrl);
  press(kKeyRAlt, kModRAlt);
  EXPECT_FALSE(app.player.playing);
  press(kKeyEscape, kModRShift, 27);
  EXPECT_FALSE(app.running);
}

// Where play stops and returns to is the sequencer's test.
TEST_F(GlobalKeysTest, SpaceStopsPlaybackElseTogglesEditModeLikeEscape) {
  press(kKeyEscape);
  EXPECT_TRUE(app.editor.editMode);
  press(kKeySpace, 0, ' ');
  EXPECT_FALSE(app.editor.editMode);
  press(kKeyRShift, kModRShift);
  EXPECT_TRUE(app.player.playing && app.player.playPatternOnly);
  press(kKeySpace);
  EXPECT_FALSE(app.player.playing);
  EXPECT_FALSE(app.editor.editMode);
}

TEST_F(GlobalKeysTest, FunctionKeysMoveTheFocus) {
  press(kKeyF2);
  EXPECT_EQ(app.editor.focus, kFocusInstrumentList);
  app.editor.naming = true;
  press(kKeyF3);
  EXPECT_EQ(app.editor.focus, kFocusOrderList);
  EXPECT_FALSE(app.editor.naming);
  app.editor.currentInstrument = 0;
  press(kKeyF4);
  EXPECT_EQ(app.editor.focus, kFocusOrderList);
  app.editor.currentInstrument = 2;
  press(kKeyF4);
  EXPECT_EQ(app.editor.focus, kFocusEnvelope);
  press(kKeyF1, kModLShift);  // neither plain nor Alt
  EXPECT_EQ(app.editor.focus, kFocusEnvelope);
  press(kKeyF1);
  EXPECT_EQ(app.editor.focus, kFocusPattern);
}

TEST_F(GlobalKeysTest, StepStaysWithinZeroToThirtyTwo) {
  app.editor.step = 0;
  press(kKeyF5);
  EXPECT_EQ(app.editor.step, 0);
  app.editor.step = 32;
  EXPECT_EQ(statusAfter(kKeyF6), "Current step: 32");
}

TEST_F(GlobalKeysTest, InstrumentChangeBringsCursorsIntoTheNewInstrument) {
  app.song.instrumentNames[2] = "bass";
  setEnvelope(app.song.envelopes[2][kNoteEnvelope], {64, 65});
  app.editor.envelopeCursor = {1, 5, 0};  // the volume envelope has one value
  press(kKeyPadPlus);
  const EditorState& e = app.editor;
  EXPECT_EQ(std::tie(e.currentInstrument, e.nameCursor, e.envelopeCursor), std::tuple(2, 4, std::array{0, 1, 0}));
  press(kKeyPad0 + 9);
  EXPECT_EQ(app.editor.currentInstrument, 9);
  app.editor.currentInstrument = 1;
  app.editor.focus = kFocusEnvelope;
  press(kKeyF3, kModLAlt);
  EXPECT_EQ(app.editor.currentInstrument, 1);  // the envelope editor never shows slot 0
  app.editor.currentInstrument = 15;
  press(kKeyF4, kModLAlt);
  EXPECT_EQ(app.editor.currentInstrument, 15);
}

TEST_F(GlobalKeysTest, SampleSelectionReportsTheSlot) {
  app.song.samples[26] = RawSample{std::vector<uint8_t>(1234, 64), false, "kick"};
  app.editor.currentSample = 25;
  EXPECT_EQ(statusAfter(kKeyF6, kModLAlt), "Current raw sample: 0x1a (kick, 1234 bytes, not looping)");
  EXPECT_EQ(statusAfter(kKeyF8), "Current raw sample: 0x1a (kick, 1234 bytes, looping)");
  EXPECT_EQ(statusAfter(kKeyPadPlus, kModLAlt), "Current raw sample: 0x1b (empty)");
  press(kKeyF8);
  EXPECT_EQ(app.status.text, "Current raw sample: 0x1b (empty)");
  app.editor.currentSample = 2;
  pressEach({kKeyPadMinus, kKeyF5, kKeyF5}, kModLAlt);
  EXPECT_EQ(app.editor.currentSample, 0);
  EXPECT_EQ(app.status.text, "Current raw sample: no sample");
}

TEST_F(GlobalKeysTest, SampleAndInstrumentCommandsNeedASelection) {
  app.editor.currentInstrument = 0;
  const std::string noSample = "No raw sample selected (Alt +/- to select)";
  EXPECT_EQ(statusAfter(kKeyF9), noSample);
  EXPECT_EQ(statusAfter(kKeyF10), noSample);
  EXPECT_EQ(statusAfter('l', kModLAlt | kModLShift), noSample);
  EXPECT_EQ(statusAfter('s', kModLAlt | kModLShift | kModLCtrl), noSample);
  EXPECT_EQ(statusAfter('l', kModLAlt | kModLCtrl), "No instrument selected");
  EXPECT_EQ(statusAfter('s', kModLAlt | kModLCtrl), "No instrument selected");
  EXPECT_TRUE(ranCommands.empty());
}

TEST_F(GlobalKeysTest, FileKeysFollowTheLeftModifiersAndNeedAHost) {
  app.editor.currentSample = 3;
  for (const int32_t mod : {kModLAlt, kModLAlt | kModLCtrl, kModLAlt | kModLShift}) press('l', mod);
  for (const int32_t mod : {kModLShift, kModLAlt, kModLAlt | kModLCtrl, kModLAlt | kModLShift,
                            kModLAlt | kModLShift | kModLCtrl})
    press('s', mod);
  for (const int32_t mod : {kModLAlt, kModLAlt | kModLShift}) press('w', mod);
  press('s', kModRAlt);  // the right Alt starts no file command
  EXPECT_EQ(ranCommands,
            (std::vector<FileCommand>{FileCommand::OpenModule, FileCommand::LoadInstrument,
                                      FileCommand::LoadRawSample, FileCommand::ExportNsf, FileCommand::SaveModule,
                                      FileCommand::SaveInstrument, FileCommand::ExportRom,
                                      FileCommand::SaveOptimizedSamples, FileCommand::ExportAudio}));
  setFileCommandRunner(nullptr);
  EXPECT_EQ(statusAfter('s', kModLAlt), "File selection canceled.");
}

class UndoHistoryTest : public EditorTest {
 protected:
  static std::string undoKey() { return statusAfter('z', kModLCtrl); }
  static std::string redoKey() { return statusAfter('y', kModRCtrl); }
};

TEST_F(UndoHistoryTest, EachNoteIsItsOwnStepAndANewChangeDropsTheRedoSteps) {
  editMode();
  pressEach({'q', 'w'});
  EXPECT_EQ(undoKey(), "Undo");
  EXPECT_EQ(cellAt(0, 0).note, 37);
  EXPECT_TRUE(cellAt(0, 1).empty());
  undoKey();
  EXPECT_TRUE(cellAt(0, 0).empty());
  EXPECT_EQ(undoKey(), "Nothing to undo");
  redoKey();
  EXPECT_EQ(redoKey(), "Redo");
  EXPECT_EQ(cellAt(0, 1).note, 39);
  EXPECT_EQ(redoKey(), "Nothing to redo");

  undoKey();  // a new change drops the redo steps
  app.editor.cursorRow = 5;
  press('w');
  EXPECT_EQ(redoKey(), "Nothing to redo");
  EXPECT_TRUE(cellAt(0, 1).empty());
}

TEST_F(UndoHistoryTest, KeysThatChangeNothingLeaveNoStep) {
  pressEach({kKeyDown, kKeyF5});
  app.editor.focus = kFocusOrderList;
  press(kKeyLeft);  // entry 0 is already pattern 0
  EXPECT_EQ(undoKey(), "Nothing to undo");
}

TEST_F(UndoHistoryTest, BlocksAndTrackShiftsComeBackWhole) {
  editMode();
  for (int row = 0; row < kRows; ++row) cellAt(2, row).note = uint8_t(row + 1);
  const Pattern before = app.song.patterns[0];
  app.editor.cursorChannel = 2;
  app.editor.cursorRow = 3;
  press(kKeyInsert);
  app.editor.selectionEndChannel = 4;
  app.editor.selectionEndRow = 63;
  press('x', kModLCtrl);
  undoKey();
  undoKey();
  EXPECT_EQ(std::memcmp(&before, &app.song.patterns[0], sizeof(Pattern)), 0);
  EXPECT_EQ(app.clipboard.clipboardHeight, 64);  // the clipboard is no part of the song
}

TEST_F(UndoHistoryTest, OrderListChangesAreUndoneAndTheCursorFollows) {
  app.editor.focus = kFocusOrderList;
  pressEach({kKeyInsert, kKeyInsert, kKeyEnd});
  EXPECT_EQ(app.editor.orderCursor, 2);
  undoKey();
  EXPECT_EQ(app.song.orderCount, 2);
  EXPECT_EQ(app.editor.orderCursor, 1);
}

TEST_F(UndoHistoryTest, EnvelopeAndNameChangesAreUndone) {
  app.editor.focus = kFocusEnvelope;
  pressEach({kKeyInsert, kKeyDown});
  press(kKeyRight, kModLShift);
  undoKey();
  EXPECT_EQ(app.song.envelopes[1][kVolumeEnvelope].loop, 0);
  undoKey();
  undoKey();
  EXPECT_EQ(envelopeLength(app.song.envelopes[1][kVolumeEnvelope]), 1);

  app.editor.focus = kFocusInstrumentList;
  press(kKeyReturn, 0, '\r');
  for (char ch : std::string("ab")) type(ch);
  undoKey();
  EXPECT_EQ(app.song.instrumentNames[1], "a");
  EXPECT_EQ(app.editor.nameCursor, 1);
}

TEST_F(UndoHistoryTest, SampleOperationsAreUndone) {
  app.song.samples[1] = RawSample{{1, 2, 3, 4}, false, "kick"};
  app.editor.currentSample = 1;
  pressEach({kKeyF9, kKeyF8, kKeyF10});
  testing::internal::CaptureStdout();
  press(kKeyF7);
  testing::internal::GetCapturedStdout();
  undoKey();
  EXPECT_TRUE(app.song.samples[2].holdsData());
  undoKey();
  EXPECT_EQ(app.song.samples[1].data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_TRUE(app.song.samples[1].loop);
  undoKey();
  EXPECT_FALSE(app.song.samples[1].loop);
  undoKey();
  EXPECT_FALSE(app.song.samples[2].holdsData());
  EXPECT_FALSE(app.song.samples[3].holdsData());
  redoKey();
  EXPECT_EQ(app.song.samples[3].name, "1#kick");
}

TEST_F(UndoHistoryTest, VideoModeSwitchesAndIsUndoneWithANewClock) {
  app.player.clockChanged = false;
  EXPECT_EQ(statusAfter(kKeyPadPeriod), "Mode: NTSC");
  EXPECT_TRUE(app.song.ntsc && app.player.clockChanged);
  EXPECT_EQ(statusAfter(kKeyPadPeriod), "Mode: PAL");
  app.player.clockChanged = false;
  undoKey();
  EXPECT_TRUE(app.song.ntsc && app.player.clockChanged);
}

TEST_F(UndoHistoryTest, KeepsTheLatestThousandSteps) {
  editMode();
  app.editor.step = 0;
  for (int i = 0; i < int(kUndoDepth) + 5; ++i) press(i % 2 ? 'q' : 'w');
  for (size_t i = 0; i < kUndoDepth; ++i) undoKey();
  EXPECT_EQ(app.status.text, "Undo");
  EXPECT_EQ(cellAt(0, 0).note, 39);  // as the fifth note left it
  EXPECT_EQ(undoKey(), "Nothing to undo");
}

uint32_t fakeNow;

class StatusLineTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    shell.ticks = [] { return fakeNow; };
  }
};

TEST_F(StatusLineTest, FadesInHoldsAndFadesOut) {
  fakeNow = 10000;
  setStatus("Ready.");
  for (auto [age, alpha] : {std::pair{100, 100}, {255, 255}, {3499, 255}, {3600, 155}, {3754, 1}, {3755, 0}})
    EXPECT_EQ(statusAlpha(10000 + age), alpha) << age << " ms after";
}

TEST_F(StatusLineTest, AQuickReplacementShowsAtFullStrengthEvenAcrossTheTickWrap) {
  fakeNow = 0xFFFFFF00u;
  setStatus("a");
  fakeNow = 0xFFFFFF80u;
  setStatus("b");  // 128 ms later: full strength at once
  EXPECT_EQ(statusAlpha(0xFFFFFF80u), 255);
  EXPECT_EQ(statusAlpha(0x00000100u), 255);          // 384 ms later, across the wrap
  EXPECT_EQ(statusAlpha(0xFFFFFE81u + 3600), 155);  // stamp was moved back by 255
  fakeNow = 0x00000400u;
  setStatus("c");  // a while later: fades in again
  EXPECT_EQ(statusAlpha(0x00000400u), 0);
  EXPECT_EQ(statusAlpha(0x00000400u + 128), 128);
}

// Every key and modifier combination is driven through the handlers in a few
// typical editor states: whatever changes anything must be in the key table,
// and every row of the table must act somewhere.
struct EditorSituation {
  const char* name;
  KeyContext context;
  int focus;
  bool editMode;
  int cursorColumn;
  bool naming;
};

constexpr EditorSituation kSituations[] = {
    {"pattern, edit mode off", KeyContext::Pattern, kFocusPattern, false, 0, false},
    {"pattern, entering notes", KeyContext::Pattern, kFocusPattern, true, 0, false},
    {"pattern, effect column", KeyContext::Pattern, kFocusPattern, true, 2, false},
    {"order list", KeyContext::OrderList, kFocusOrderList, false, 0, false},
    {"envelope editor", KeyContext::Envelope, kFocusEnvelope, false, 0, false},
    {"instrument list", KeyContext::InstrumentList, kFocusInstrumentList, false, 0, false},
    {"instrument name", KeyContext::InstrumentName, kFocusInstrumentList, false, 0, true},
};

void setUpSituation(const EditorSituation& s) {
  resetToProgramStart();
  app.song.samples[1].data.assign(100, 64);
  app.song.orderCount = 3;
  setEnvelope(app.song.envelopes[1][kNoteEnvelope], {64, 70, 60}, 1);
  cellAt(0, 0).note = cellAt(0, 5).note = 40;
  app.song.instrumentNames[1] = "lead";
  app.clipboard.cells[0].note = 50;
  app.clipboard.clipboardWidth = app.clipboard.clipboardHeight = 1;
  app.editor = EditorState{.focus = s.focus, .naming = s.naming, .editMode = s.editMode, .cursorRow = 5,
                           .cursorColumn = s.cursorColumn, .orderCursor = 1, .currentSample = 1,
                           .selectedEnvelope = kNoteEnvelope, .envelopeCursor = {0, 1, 0}, .nameCursor = 2};
}

bool sameSong(const Song& a, const Song& b) {
  const auto sameSample = [](const RawSample& x, const RawSample& y) {
    return std::tie(x.data, x.loop, x.name) == std::tie(y.data, y.loop, y.name);
  };
  return std::tie(a.orderCount, a.orders, a.instrumentNames, a.ntsc) ==
             std::tie(b.orderCount, b.orders, b.instrumentNames, b.ntsc) &&
         std::memcmp(&a.patterns, &b.patterns, sizeof a.patterns) == 0 &&
         std::memcmp(&a.envelopes, &b.envelopes, sizeof a.envelopes) == 0 &&
         std::equal(a.samples.begin(), a.samples.end(), b.samples.begin(), sameSample);
}

// What a key can change; the engine is the live chip's and not copied.
using Snapshot = std::tuple<Song, EditorState, Player, Clipboard, PreviewState, StatusLine, bool>;

auto changeable() {
  return std::tie(app.song, app.editor, app.player, app.clipboard, app.preview, app.status, app.running);
}

bool sameState(const Snapshot& b) {
  const auto& [song, editor, player, clipboard, preview, status, running] = b;
  return sameSong(app.song, song) && app.editor == editor && app.clipboard == clipboard && app.preview == preview &&
         app.status.text == status.text && app.running == running && app.player.playing == player.playing;
}

// Neither, the left or the right key of each modifier.
std::vector<int32_t> modifierCombinations() {
  std::vector<int32_t> mods;
  for (int32_t shift : {0, kModLShift, kModRShift})
    for (int32_t ctrl : {0, kModLCtrl, kModRCtrl})
      for (int32_t alt : {0, kModLAlt, kModRAlt}) mods.push_back(shift | ctrl | alt);
  return mods;
}

// What SDL translates a key to, roughly: printable ASCII without Ctrl or Alt.
uint16_t translation(int32_t sym, int32_t mod) {
  if (sym < 0x20 || sym > 0x7E || (mod & (kModCtrl | kModAlt)) != 0) return 0;
  return uint16_t(sym);
}

bool listed(KeyContext context, int32_t sym, int32_t mod, uint16_t unicode, std::set<const KeyBinding*>& used) {
  bool found = false;
  for (const KeyBinding& b : keyBindings()) {
    const bool applies = b.context == context || b.context == KeyContext::Global || b.context == KeyContext::UndoRedo;
    if (applies && bindingMatches(b, sym, mod, unicode)) {
      used.insert(&b);
      found = true;
    }
  }
  return found;
}

TEST_F(EditorTest, EveryKeyTheEditorActsOnIsInTheKeyTableAndEveryRowActs) {
  std::set<const KeyBinding*> used;
  std::vector<std::string> missing;
  for (const EditorSituation& s : kSituations) {
    setUpSituation(s);
    const Snapshot before = changeable();
    for (int32_t sym = 1; sym <= kKeyLAlt; ++sym) {
      for (int32_t mod : modifierCombinations()) {
        const uint16_t unicode = translation(sym, mod);
        changeable() = before;
        clearUndoHistory();
        press(sym, mod, unicode);
        if (!sameState(before) && !listed(s.context, sym, mod, unicode, used))
          missing.push_back(std::string(s.name) + ": key " + std::to_string(sym) + " mod " + std::to_string(mod));
      }
    }
  }
  resetToProgramStart();
  EXPECT_TRUE(missing.empty()) << missing.size() << " unlisted, first: " << missing.front();
  for (const KeyBinding& b : keyBindings()) {
    const bool editorKey = b.context != KeyContext::Help && b.context != KeyContext::FileChooser &&
                           b.context != KeyContext::Mouse;
    if (editorKey) {
      EXPECT_TRUE(used.count(&b)) << contextTitle(b.context) << ": " << keyLabel(b) << " acts nowhere";
    }
  }
}

}  // namespace

}  // namespace qc
