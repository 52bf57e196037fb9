// The window's icon: a golden Q over a pulse wave, 32x32.
#pragma once

// Must run before the video mode is set: SDL 1.2 reads the icon only then.
void installWindowIcon();
