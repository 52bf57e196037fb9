#include "editor/undo_history.h"

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "editor/live_player.h"
#include "song/app_state.h"

namespace qc {

namespace {

struct PatternSnapshot {
  int index;
  Pattern pattern;
};

struct OrderListSnapshot {
  int32_t orderCount;
  std::array<int32_t, kMaxOrders> orders;
};

struct InstrumentSnapshot {
  int slot;
  std::string name;
  Envelope envelopes[kEnvelopeKinds];
};

// When only the loop flag or the name changed, the bytes are not kept.
struct SampleSnapshot {
  int slot;
  RawSample sample;
  bool bytesKept = true;
};

struct VideoModeSnapshot {
  bool ntsc;
};

struct SongSnapshot {
  std::unique_ptr<Song> song;
};

using Snapshot = std::variant<PatternSnapshot, OrderListSnapshot, InstrumentSnapshot, SampleSnapshot,
                              VideoModeSnapshot, SongSnapshot>;
using Step = std::vector<Snapshot>;

std::deque<Step> undoSteps;
std::deque<Step> redoSteps;
Step openStep;
bool stepOpen = false;
bool unsaved = false;

bool envelopesEqual(const Envelope (&a)[kEnvelopeKinds], const Envelope (&b)[kEnvelopeKinds]) {
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    if (a[k].loop != b[k].loop || !std::equal(a[k].values, a[k].values + kEnvelopeValueSlots, b[k].values))
      return false;
  }
  return true;
}

template <typename T, typename Same>
bool recorded(Same same) {
  return std::any_of(openStep.begin(), openStep.end(), [&](const Snapshot& s) {
    const T* snapshot = std::get_if<T>(&s);
    return snapshot && same(*snapshot);
  });
}

// True when the part still holds what was recorded; may drop sample bytes
// that did not change.
struct Unchanged {
  bool operator()(const PatternSnapshot& s) const {
    const Pattern& now = app.song.patterns[s.index];
    return std::equal(&s.pattern.cells[0][0], &s.pattern.cells[0][0] + kChannels * kRows, &now.cells[0][0]);
  }
  bool operator()(const OrderListSnapshot& s) const {
    return s.orderCount == app.song.orderCount && s.orders == app.song.orders;
  }
  bool operator()(const InstrumentSnapshot& s) const {
    return s.name == app.song.instrumentNames[s.slot] && envelopesEqual(s.envelopes, app.song.envelopes[s.slot]);
  }
  bool operator()(SampleSnapshot& s) const {
    const RawSample& now = app.song.samples[s.slot];
    if (s.bytesKept && s.sample.data == now.data) {
      s.sample.data = {};
      s.bytesKept = false;
    }
    return !s.bytesKept && s.sample.loop == now.loop && s.sample.name == now.name;
  }
  bool operator()(const VideoModeSnapshot& s) const { return s.ntsc == app.song.ntsc; }
  bool operator()(const SongSnapshot&) const { return false; }
};

struct SwapWithSong {
  void operator()(PatternSnapshot& s) const { std::swap(s.pattern, app.song.patterns[s.index]); }
  void operator()(OrderListSnapshot& s) const {
    std::swap(s.orderCount, app.song.orderCount);
    std::swap(s.orders, app.song.orders);
  }
  void operator()(InstrumentSnapshot& s) const {
    std::swap(s.name, app.song.instrumentNames[s.slot]);
    std::swap_ranges(s.envelopes, s.envelopes + kEnvelopeKinds, app.song.envelopes[s.slot]);
  }
  void operator()(SampleSnapshot& s) const {
    RawSample& now = app.song.samples[s.slot];
    if (s.bytesKept) std::swap(s.sample.data, now.data);
    std::swap(s.sample.loop, now.loop);
    std::swap(s.sample.name, now.name);
  }
  void operator()(VideoModeSnapshot& s) const {
    std::swap(s.ntsc, app.song.ntsc);
    requestClockChange();
  }
  // As an open does, playback stops before the song is exchanged.
  void operator()(SongSnapshot& s) const {
    haltForLoad();
    std::swap(*s.song, app.song);
    rewindForNewSong();
  }
};

// The song may have shrunk under the cursors.
void clampEditorCursors() {
  EditorState& e = app.editor;
  e.orderCursor = std::clamp(e.orderCursor, 0, std::max(0, app.song.orderCount - 1));
  const int instrument = std::clamp(e.currentInstrument, 0, kInstrumentSlots - 1);
  for (int k = 0; k < kEnvelopeKinds; ++k) {
    const int length = envelopeLength(app.song.envelopes[instrument][k]);
    if (length > 0) e.envelopeCursor[k] = std::clamp(e.envelopeCursor[k], 0, length - 1);
  }
  e.nameCursor = std::clamp(e.nameCursor, 0, int(app.song.instrumentNames[instrument].size()));
}

bool replay(std::deque<Step>& from, std::deque<Step>& to) {
  if (from.empty()) return false;
  Step step = std::move(from.back());
  from.pop_back();
  for (Snapshot& snapshot : step) std::visit(SwapWithSong{}, snapshot);
  to.push_back(std::move(step));
  clampEditorCursors();
  unsaved = true;
  return true;
}

void pushUndoStep(Step step) {
  undoSteps.push_back(std::move(step));
  redoSteps.clear();
  if (undoSteps.size() > kUndoDepth) undoSteps.pop_front();
}

}  // namespace

void beginUndoStep() {
  openStep.clear();
  stepOpen = true;
}

void endUndoStep() {
  stepOpen = false;
  std::erase_if(openStep, [](Snapshot& s) { return std::visit(Unchanged{}, s); });
  if (openStep.empty()) return;
  pushUndoStep(std::move(openStep));
  openStep.clear();
  unsaved = true;
}

void recordPatternChange(int pattern) {
  if (!stepOpen || recorded<PatternSnapshot>([&](const auto& s) { return s.index == pattern; })) return;
  openStep.push_back(PatternSnapshot{pattern, app.song.patterns[pattern]});
}

void recordOrderListChange() {
  if (!stepOpen || recorded<OrderListSnapshot>([](const auto&) { return true; })) return;
  openStep.push_back(OrderListSnapshot{app.song.orderCount, app.song.orders});
}

void recordInstrumentChange(int slot) {
  if (!stepOpen || recorded<InstrumentSnapshot>([&](const auto& s) { return s.slot == slot; })) return;
  InstrumentSnapshot snapshot{slot, app.song.instrumentNames[slot], {}};
  std::copy(app.song.envelopes[slot], app.song.envelopes[slot] + kEnvelopeKinds, snapshot.envelopes);
  openStep.push_back(std::move(snapshot));
}

void recordSampleChange(int slot) {
  if (!stepOpen || recorded<SampleSnapshot>([&](const auto& s) { return s.slot == slot; })) return;
  openStep.push_back(SampleSnapshot{slot, app.song.samples[slot]});
}

void recordSampleLoopChange(int slot) {
  if (!stepOpen || recorded<SampleSnapshot>([&](const auto& s) { return s.slot == slot; })) return;
  const RawSample& sample = app.song.samples[slot];
  openStep.push_back(SampleSnapshot{slot, RawSample{{}, sample.loop, sample.name}, false});
}

void recordVideoModeChange() {
  if (!stepOpen || recorded<VideoModeSnapshot>([](const auto&) { return true; })) return;
  openStep.push_back(VideoModeSnapshot{app.song.ntsc});
}

bool undo() { return replay(undoSteps, redoSteps); }
bool redo() { return replay(redoSteps, undoSteps); }

void recordOpenedModule(std::unique_ptr<Song> previous) {
  Step step;
  step.push_back(SongSnapshot{std::move(previous)});
  pushUndoStep(std::move(step));
  unsaved = false;
}

void clearUndoHistory() {
  undoSteps.clear();
  redoSteps.clear();
  openStep.clear();
  unsaved = false;
}

bool unsavedChanges() { return unsaved; }
void markSongSaved() { unsaved = false; }

}  // namespace qc
