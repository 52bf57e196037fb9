#include "editor/state_summary.h"

#include <algorithm>
#include <cstdio>

#include "editor/status_line.h"
#include "playback/channel_effects.h"
#include "playback/player_state.h"
#include "song/app_state.h"

namespace qc {

namespace {

const char* onOff(bool on) { return on ? "on" : "off"; }

std::string twoDigits(int n) {
  char text[12];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// What the first row of the first order sets, as play from the top starts.
std::string firstRowTiming() {
  int speed = kStartSpeed, tempo = kStartTempo;
  const Pattern& first = app.song.patterns[std::clamp(app.song.orders[0], 0, kPatterns - 1)];
  for (int track = 0; track < kPcmTrack; ++track) {
    const Cell& cell = first.cells[track][0];
    if (cell.effect() != kSpeedTempo) continue;
    (cell.paramValue() < kSpeedLimit ? speed : tempo) = cell.paramValue();
  }
  return "Speed " + std::to_string(speed) + ", tempo " + std::to_string(tempo) + " (first row)";
}

std::string mutedTracks() {
  std::string muted;
  for (int c = 0; c < kChannels; ++c)
    if ((app.editor.channelMask & (1u << c)) == 0) muted += (muted.empty() ? "" : ", ") + std::string(kChannelNames[c]);
  return muted.empty() ? "none" : muted;
}

}  // namespace

std::vector<std::string> stateSummaryLines() {
  const EditorState& e = app.editor;
  const int position = std::clamp(e.orderCursor, 0, kMaxOrders - 1);
  const int instrument = std::clamp(e.currentInstrument, 0, kInstrumentSlots - 1);
  std::string instrumentText = "Instrument: ";
  instrumentText += instrument == 0 ? "none" : std::to_string(instrument) + " " + app.song.instrumentNames[instrument];
  return {
      std::string("Edit mode: ") + onOff(e.editMode) + "   Current octave: " + std::to_string(e.octave) +
          "   Current step: " + std::to_string(e.step) + "   " + instrumentText,
      currentSampleText(),
      "Pattern " + twoDigits(app.song.orders[position]) + " at order " + twoDigits(position + 1) + "   " +
          firstRowTiming() + "   " + (app.song.ntsc ? "NTSC" : "PAL"),
      std::string("Cursor follow: ") + onOff(e.cursorFollow) + "   Repeat block: " + onOff(e.repeatBlock) +
          "   Metronome: " + onOff(e.metronome) + "   Muted: " + mutedTracks(),
  };
}

}  // namespace qc
