// The sequencer: transport, the per-frame routine and its tables.
#pragma once

void buildPeriodTable();
void resetPlayer();
void playSong();
void playFromCursor();
void stopPlayback();
// Once per player frame, on sub-step 0 (or once per simulated export tick).
void playerFrame();
// 32000 in PAL, 34448 in NTSC: a row lasts the same time in both.
int rowThreshold();
