#include "editor/global_keys.h"

#include <algorithm>

#include "editor/instrument_selection.h"
#include "editor/key_codes.h"
#include "editor/sample_operations.h"
#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "editor/live_player.h"
#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kMaxOctave = 9;
constexpr int kMaxStep = 32;
constexpr const char* kNoInstrument = "No instrument selected";
constexpr const char* kNoSample = "No raw sample selected (Alt +/- to select)";

void changeOctave(int delta) {
  app.editor.octave = std::clamp(app.editor.octave + delta, 0, kMaxOctave);
  showOctave();
}

void changeStep(int delta) {
  app.editor.step = std::clamp(app.editor.step + delta, 0, kMaxStep);
  showStep();
}

void changeSample(int delta) {
  app.editor.currentSample = std::clamp(app.editor.currentSample + delta, 0, kSampleSlots - 1);
  showCurrentSample();
}

void switchVideoMode() {
  recordVideoModeChange();
  toggleNtsc();
}

void focusEditor(int focus) {
  app.editor.focus = focus;
  app.editor.naming = false;
}

void slice() {
  if (app.editor.currentSample == 0) {
    setStatus(kNoSample);
    return;
  }
  switch (sliceSample()) {
    case SliceResult::Sliced: setStatus("Beat was sliced"); break;
    case SliceResult::EmptySlot: setStatus("Nothing to slice: the sample slot is empty"); break;
    case SliceResult::TooShort: setStatus("Sample too short to slice"); break;
    case SliceResult::NoFreeSlots: setStatus("Not enough free sample slots to slice"); break;
  }
}

void remove() {
  if (app.editor.currentSample == 0) {
    setStatus(kNoSample);
    return;
  }
  removeSample();
  setStatus("Sample was removed");
}

void startPlayback(bool fromCursor) {
  if (app.editor.naming) return;
  fromCursor ? playFromCursor() : playSong();
}

// Alt is already known to be down; returns F1..F12's Alt command.
void altFunctionKey(int32_t sym) {
  switch (sym) {
    case kKeyF1: changeOctave(-1); break;
    case kKeyF2: changeOctave(1); break;
    case kKeyF3: previousInstrument(); break;
    case kKeyF4: nextInstrument(); break;
    case kKeyF5: changeSample(-1); break;
    case kKeyF6: changeSample(1); break;
    case kKeyF7: switchVideoMode(); break;
    default: break;
  }
}

void plainFunctionKey(int32_t sym) {
  EditorState& e = app.editor;
  switch (sym) {
    case kKeyF1: focusEditor(kFocusPattern); break;
    case kKeyF2: e.focus = kFocusInstrumentList; break;
    case kKeyF3: focusEditor(kFocusOrderList); break;
    case kKeyF4: if (e.currentInstrument != 0) focusEditor(kFocusEnvelope); break;
    case kKeyF5: changeStep(-1); break;
    case kKeyF6: changeStep(1); break;
    case kKeyF7: stripUnusedSamples(); break;
    case kKeyF8: if (toggleSampleLoop()) showCurrentSample(); break;
    case kKeyF9: slice(); break;
    case kKeyF10: remove(); break;
    case kKeyF11: e.repeatBlock = !e.repeatBlock; showRepeatBlock(); break;
    case kKeyF12: e.cursorFollow = !e.cursorFollow; showCursorFollow(); break;
    default: break;
  }
}

std::optional<FileCommand> guarded(bool selected, const char* refusal, FileCommand command) {
  if (selected) return command;
  setStatus(refusal);
  return std::nullopt;
}

std::optional<FileCommand> loadKey(int32_t mod) {
  if (!hasLAlt(mod)) return std::nullopt;
  if (hasLShift(mod)) return guarded(app.editor.currentSample != 0, kNoSample, FileCommand::LoadRawSample);
  if (hasLCtrl(mod)) return guarded(app.editor.currentInstrument != 0, kNoInstrument, FileCommand::LoadInstrument);
  return FileCommand::OpenModule;
}

std::optional<FileCommand> saveKey(int32_t mod) {
  const bool lShift = hasLShift(mod), lCtrl = hasLCtrl(mod);
  if (!hasLAlt(mod)) return lShift ? std::optional(FileCommand::ExportNsf) : std::nullopt;
  if (lShift && lCtrl) return guarded(app.editor.currentSample != 0, kNoSample, FileCommand::SaveOptimizedSamples);
  if (lShift) return FileCommand::ExportRom;
  if (lCtrl) return guarded(app.editor.currentInstrument != 0, kNoInstrument, FileCommand::SaveInstrument);
  return FileCommand::SaveModule;
}

void keypadKey(const KeyEvent& key) {
  const bool lAlt = hasLAlt(key.mod);
  switch (key.sym) {
    case kKeyPadPeriod: switchVideoMode(); break;
    case kKeyPadDivide: changeOctave(-1); break;
    case kKeyPadMultiply: changeOctave(1); break;
    case kKeyPadMinus: lAlt ? changeSample(-1) : previousInstrument(); break;
    case kKeyPadPlus: lAlt ? changeSample(1) : nextInstrument(); break;
    default:
      if (key.sym >= kKeyPad0 && key.sym <= kKeyPad9) selectInstrument(key.sym - kKeyPad0);
      break;
  }
}

}  // namespace

std::optional<FileCommand> globalCommandKey(const KeyEvent& key) {
  EditorState& e = app.editor;
  switch (key.sym) {
    case kKeyEscape:
      if (hasShift(key.mod)) {
        app.running = false;
      } else {
        e.editMode = !e.editMode;
      }
      return std::nullopt;
    case kKeySpace:
      if (isPlaying()) {
        stopPlayback();
      } else {
        e.editMode = !e.editMode;
      }
      return std::nullopt;
    case 'm':
      if (hasAlt(key.mod)) {
        e.metronome = !e.metronome;
        showMetronome();
      }
      return std::nullopt;
    case 'l': return loadKey(key.mod);
    case 's': return saveKey(key.mod);
    case 'w':
      if (hasLAlt(key.mod) && !hasLShift(key.mod) && !hasLCtrl(key.mod)) return FileCommand::ExportAudio;
      return std::nullopt;
    case kKeyRCtrl: startPlayback(false); return std::nullopt;
    case kKeyRShift:
    case kKeyRAlt: startPlayback(true); return std::nullopt;
    default: break;
  }
  if (key.sym >= kKeyF1 && key.sym <= kKeyF12) {
    if (hasAlt(key.mod)) {
      altFunctionKey(key.sym);
    } else if (isPlain(key.mod)) {
      plainFunctionKey(key.sym);
    }
  } else if (key.sym >= kKeyPad0 && key.sym <= kKeyPadPlus) {
    keypadKey(key);
  }
  return std::nullopt;
}

}  // namespace qc
