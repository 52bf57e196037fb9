#include "editor/status_line.h"

#include <cstdio>

#include "editor/live_player.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

namespace {

constexpr uint32_t kFadeIn = 255;
constexpr uint32_t kFadeOutStart = 3500;
constexpr uint32_t kExpired = 3755;

const char* onOff(bool on) { return on ? "on" : "off"; }

}  // namespace

void setStatus(const std::string& text) {
  const uint32_t now = shell.ticks();
  // A message replacing one still fading in shows at full strength at once.
  app.status.stamp = (now - app.status.stamp < kFadeIn) ? now - kFadeIn : now;
  app.status.text = text;
}

void updateStatus(const std::string& text) {
  if (statusAlpha(shell.ticks()) < int(kFadeIn)) {
    setStatus(text);
    return;
  }
  app.status.stamp = shell.ticks() - kFadeIn;
  app.status.text = text;
}

int statusAlpha(uint32_t now) {
  const uint32_t age = now - app.status.stamp;
  if (age < kFadeIn) return int(age);
  if (age < kFadeOutStart) return 255;
  if (age < kExpired) return int(kExpired - age);
  return 0;
}

void showOctave() { setStatus("Current octave: " + std::to_string(app.editor.octave)); }
void showStep() { setStatus("Current step: " + std::to_string(app.editor.step)); }
void showRepeatBlock() { setStatus(std::string("Repeat block: ") + onOff(app.editor.repeatBlock)); }
void showCursorFollow() { setStatus(std::string("Cursor follow: ") + onOff(app.editor.cursorFollow)); }
void showMetronome() { setStatus(app.editor.metronome ? "Metronome on" : "Metronome off"); }

std::string currentSampleText() {
  const int slot = app.editor.currentSample;
  if (slot == 0) return "Current raw sample: no sample";
  char number[8];
  std::snprintf(number, sizeof number, "%x", slot);
  const RawSample& sample = app.song.samples[slot];
  std::string text = std::string("Current raw sample: 0x") + number;
  if (!sample.holdsData()) {
    text += " (empty)";
  } else {
    text += " (" + sample.name + ", " + std::to_string(sample.length()) + " bytes, " +
            (sample.loop ? "looping)" : "not looping)");
  }
  return text;
}

void showCurrentSample() { setStatus(currentSampleText()); }

void toggleNtsc() {
  app.song.ntsc = !app.song.ntsc;
  setStatus(app.song.ntsc ? "Mode: NTSC" : "Mode: PAL");
  requestClockChange();
}

}  // namespace qc
