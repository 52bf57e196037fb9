// The mouse: pointing, the wheel, dragging a block, the track headings and
// the file chooser. It reaches only the operations the keys reach, under
// the audio lock and as one undo step per event, as a key press does.
//
// One button at a time: presses of others while it is down are ignored. A
// drag keeps the cursor where it was pressed and moves the selection's end
// with the pointer, so the view stands still; held above the first pattern
// line or below the last it scrolls a row each frame.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace qc {

// SDL 1.2's button numbers.
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 3;
inline constexpr int kWheelUp = 4;
inline constexpr int kWheelDown = 5;
inline constexpr uint32_t kDoubleClickMs = 400;
inline constexpr int kChooserWheelEntries = 3;

void mousePress(int button, int x, int y, uint32_t ticks);
void mouseRelease(int button);
// `leftHeld` as the motion reports it: a release lost outside the window ends the drag.
void mouseMotion(int x, int y, bool leftHeld);
// Once a frame: the scrolling of a drag held past the pattern view's ends.
void continueDrag();
// No button down, no drag, no click to pair with a second one.
void resetMouse();
void handleMouseEvent(const SDL_Event& event);

}  // namespace qc
