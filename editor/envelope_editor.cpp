#include "editor/envelope_editor.h"

#include <algorithm>

#include "editor/key_codes.h"
#include "editor/note_preview.h"
#include "editor/undo_history.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kMaxVolume = 15;
constexpr int kMaxDuty = 3;
constexpr int32_t kFixedNoteBit = 128;  // set: a fixed note; clear: an offset around 64
constexpr int kMaxRelativeNote = 127;
constexpr int kMaxFixedNote = 255;

bool isEnvelopeKey(int32_t sym) {
  switch (sym) {
    case kKeyRight: case kKeyLeft: case kKeyHome: case kKeyEnd: case kKeyUp: case kKeyDown:
    case kKeyReturn: case kKeyInsert: case kKeyDelete: case kKeyBackspace:
      return true;
    default:
      return false;
  }
}

void raise(int32_t& value, int kind) {
  int highest = kMaxDuty;
  if (kind == kVolumeEnvelope) highest = kMaxVolume;
  if (kind == kNoteEnvelope) highest = (value & kFixedNoteBit) ? kMaxFixedNote : kMaxRelativeNote;
  value = std::min(value + 1, highest);
}

void lower(int32_t& value, int kind) {
  const int lowest = (kind == kNoteEnvelope && (value & kFixedNoteBit)) ? kFixedNoteBit : 0;
  value = std::max(value - 1, lowest);
}

// Removes value[at] of an envelope of the given length; the sentinel follows.
void removeValue(Envelope& env, int at, int length) {
  std::copy(env.values + at + 1, env.values + length, env.values + at);
  env.values[length - 1] = kEnvelopeEnd;
}

void editValues(Envelope& env, int kind, int length, int32_t sym, bool shift) {
  int& p = app.editor.envelopeCursor[kind];
  p = std::clamp(p, 0, length - 1);
  int32_t& loop = env.loop;
  const int last = length - 1;
  switch (sym) {
    case kKeyRight: shift ? (loop = std::min(loop + 1, last)) : (p = std::min(p + 1, last)); break;
    case kKeyLeft: shift ? (loop = std::max(loop - 1, 0)) : (p = std::max(p - 1, 0)); break;
    case kKeyHome: (shift ? loop : p) = 0; break;
    case kKeyEnd: (shift ? loop : p) = last; break;
    case kKeyUp: raise(env.values[p], kind); break;
    case kKeyDown: lower(env.values[p], kind); break;
    case kKeyReturn:
      if (kind == kNoteEnvelope) env.values[p] ^= kFixedNoteBit;
      break;
    case kKeyInsert:
      if (length < kMaxEnvelopeLength) {
        std::copy_backward(env.values + p, env.values + length, env.values + length + 1);
        env.values[length + 1] = kEnvelopeEnd;
      }
      break;
    case kKeyDelete:
      if (length >= 2) {
        removeValue(env, p, length);
        if (p >= last) p = length - 2;
        if (loop >= last) loop = length - 2;
      }
      break;
    case kKeyBackspace:
      if (p > 0) {
        removeValue(env, p - 1, length);
        if (loop == p) --loop;
        --p;
        if (loop >= last) loop = length - 2;
      }
      break;
    default: break;
  }
}

}  // namespace

bool envelopeEditorKey(const KeyEvent& key) {
  previewPianoKey(key);
  EditorState& e = app.editor;
  if (key.sym == kKeyPageUp || key.sym == kKeyPageDown) {
    const int delta = key.sym == kKeyPageUp ? kEnvelopeKinds - 1 : 1;
    e.selectedEnvelope = (std::clamp(e.selectedEnvelope, 0, kEnvelopeKinds - 1) + delta) % kEnvelopeKinds;
    return true;
  }
  if (!isEnvelopeKey(key.sym)) return false;
  const int slot = std::clamp(e.currentInstrument, 0, kInstrumentSlots - 1);
  const int kind = std::clamp(e.selectedEnvelope, 0, kEnvelopeKinds - 1);
  Envelope& env = app.song.envelopes[slot][kind];
  int length = envelopeLength(env);
  if (length < 0) length = kEnvelopeValueSlots;  // a file without the sentinel: every slot is a value
  if (length == 0) return true;
  recordInstrumentChange(slot);
  editValues(env, kind, length, key.sym, hasShift(key.mod));
  return true;
}

}  // namespace qc
