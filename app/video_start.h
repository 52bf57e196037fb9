// Bringing up SDL's video before anything is set on the window.
#pragma once

namespace qc {

// SDL 1.2 falls back to text-mode drivers (libcaca, aalib) when the X
// display does not answer; with DISPLAY set, only X11 will do.
void preferX11Video();
// True once SDL's video is up, retrying for a while when SDL_Init could not
// reach the display (a session still starting, a busy server).
bool startVideo();

}  // namespace qc
