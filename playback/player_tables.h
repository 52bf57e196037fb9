// The player's tables and the rates that follow the song's standard.
#pragma once

#include "playback/clock_rates.h"
#include "playback/player_state.h"

namespace qc {

// periodTable for the song's standard.
void buildPeriodTable(Player& player);
// vibratoWave and vibratoTable; they do not depend on the standard.
void buildVibratoTable(Player& player);
// 32000 in PAL, 34448 in NTSC: a row lasts the same time in both (38400 in
// NTSC under the cartridge's timing).
int rowThreshold(const Player& player);
// Player frames per second: 50.007 in PAL, 53.832 in NTSC.
double framesPerSecond(bool ntsc);
// Raw-sample bytes per sub-step: about 7800 bytes a second in both standards.
inline double pcmStep(bool ntsc) {
  constexpr double kPcmStepPal = 0.5000641025641026;  // 7801 / 15600
  return ntsc ? kPalOverNtscClock * kPcmStepPal : kPcmStepPal;
}

}  // namespace qc
