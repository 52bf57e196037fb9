// Every key and modifier combination is driven through the handlers in a few
// typical editor states: whatever changes anything must be in the key table,
// and every row of the table must act somewhere.
#include <cstring>
#include <map>
#include <set>

#include "editor/key_bindings.h"
#include "key_test_support.h"

namespace qc {

namespace {

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
  EditorState& e = app.editor;
  e.currentSample = 1;
  e.cursorRow = 5;
  e.orderCursor = 1;
  e.selectedEnvelope = kNoteEnvelope;
  e.envelopeCursor[kNoteEnvelope] = 1;
  e.nameCursor = 2;
  e.focus = s.focus;
  e.editMode = s.editMode;
  e.cursorColumn = s.cursorColumn;
  e.naming = s.naming;
}

bool sameSong(const Song& a, const Song& b) {
  if (a.orderCount != b.orderCount || a.orders != b.orders || a.instrumentNames != b.instrumentNames ||
      a.ntsc != b.ntsc || std::memcmp(&a.patterns, &b.patterns, sizeof a.patterns) != 0 ||
      std::memcmp(&a.envelopes, &b.envelopes, sizeof a.envelopes) != 0)
    return false;
  for (int i = 0; i < kSampleSlots; ++i) {
    const RawSample &x = a.samples[i], &y = b.samples[i];
    if (x.data != y.data || x.loop != y.loop || x.name != y.name) return false;
  }
  return true;
}

// What a key can change; the engine is the live chip's and not copied.
struct Snapshot {
  Song song;
  EditorState editor;
  Player player;
  Clipboard clipboard;
  PreviewState preview;
  StatusLine status;
  bool running;
};

Snapshot snapshot() { return {app.song, app.editor, app.player, app.clipboard, app.preview, app.status, app.running}; }

void restore(const Snapshot& s) {
  app.song = s.song;
  app.editor = s.editor;
  app.player = s.player;
  app.clipboard = s.clipboard;
  app.preview = s.preview;
  app.status = s.status;
  app.running = s.running;
}

bool sameState(const Snapshot& b) {
  return sameSong(app.song, b.song) && app.editor == b.editor && app.clipboard == b.clipboard &&
         app.preview == b.preview && app.status.text == b.status.text && app.running == b.running &&
         app.player.playing == b.player.playing;
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
    const Snapshot before = snapshot();
    for (int32_t sym = 1; sym <= kKeyLAlt; ++sym) {
      for (int32_t mod : modifierCombinations()) {
        const uint16_t unicode = translation(sym, mod);
        restore(before);
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
