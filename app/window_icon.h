// The window's icon: a golden Q over a pulse wave, 32x32.
#pragma once

namespace qc {

// Runs after the video mode is set: earlier, SDL 1.2's X11 driver can crash.
void installWindowIcon();

}  // namespace qc
