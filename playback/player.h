// The sequencer: transport, the per-frame routine and its tables.
//
// playerFrame runs once per player frame (312 sub-steps, 33247.5 CPU clocks
// on average) on the audio thread, or once per simulated tick while the song
// compiler holds the audio lock. The transport operations run on the main
// thread and take the audio lock around their changes.
#pragma once

// PAL CPU clock over NTSC CPU clock (1662607 / 1789772.6666666667).
inline constexpr double kPalOverNtscClock = 0.9289487044723371;

void buildPeriodTable();
// vibratoWave and vibratoTable; they do not depend on the standard.
void buildVibratoTable();
void resetPlayer();
void playSong();
void playFromCursor();
void stopPlayback();
// Once per player frame, on sub-step 0 (or once per simulated export tick).
void playerFrame();
// 32000 in PAL, 34448 in NTSC: a row lasts the same time in both (38400 in
// NTSC under the cartridge's timing).
int rowThreshold();
// Player frames per second: 50.007 in PAL, 53.832 in NTSC.
double framesPerSecond();
// Raw-sample bytes per sub-step: about 7800 bytes a second in both standards.
double pcmStep();
