#include "playback/metronome.h"

#include "playback/clock_rates.h"
#include "playback/register_output.h"

namespace qc {

namespace {
constexpr int kClickFrames = 6;
constexpr uint8_t kClickVolume[kClickFrames] = {15, 15, 12, 9, 3, 0};
constexpr int32_t kBarClickPeriod = 105;  // an octave above the beat click
constexpr int32_t kBeatClickPeriod = 210;
constexpr int kRowsPerBeat = 4;
constexpr int kRowsPerBar = 16;
}  // namespace

void metronomeFrame(Player& p) {
  if (!p.options.metronome) {
    p.clickActive = false;
    playerWrite(p, 0x9000, 0);
  } else if (!p.clickActive) {
    playerWrite(p, 0x9000, 0);
  } else {
    const int32_t period = p.song->ntsc ? int32_t(p.clickPeriod / kPalOverNtscClock) : p.clickPeriod;
    playerWrite(p, 0x9000, uint8_t(kClickVolume[p.clickStep] | 0x70));
    playerWrite(p, 0x9001, uint8_t(period & 0xFF));
    playerWrite(p, 0x9002, uint8_t(0x80 | (period >> 8)));
    if (++p.clickStep == kClickFrames) p.clickActive = false;
  }

  // The click starts sounding on the frame after the one that first sees the row.
  if (p.playRow != p.lastClickRow) {
    p.lastClickRow = p.playRow;
    if (p.playRow % kRowsPerBeat == 0) {
      p.clickPeriod = p.playRow % kRowsPerBar == 0 ? kBarClickPeriod : kBeatClickPeriod;
      p.clickActive = true;
      p.clickStep = 0;
    }
  }
}

}  // namespace qc
