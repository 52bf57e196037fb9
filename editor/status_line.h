// The one-line status message: it replaces the current one at once, fades
// in over 255 ms, stays about 3.5 s and fades out. Tick arithmetic wraps.
#pragma once

#include <cstdint>
#include <string>

namespace qc {

void setStatus(const std::string& text);
// Changes the text of the message without starting its fade again: progress.
void updateStatus(const std::string& text);
// Alpha of the message at the given tick: 0 when it is no longer drawn.
int statusAlpha(uint32_t now);

// The formatted messages; each reads the value the caller has just changed.
void showOctave();
void showStep();
void showRepeatBlock();
void showCursorFollow();
void showMetronome();
void showCurrentSample();
std::string currentSampleText();
// Inverts the video standard, reports it and asks the player for a new clock.
void toggleNtsc();

}  // namespace qc
