// What the core needs from whoever hosts it: a millisecond clock and the
// audio lock. The window program installs SDL's; tests and the command line
// keep the defaults (a steady clock, a mutex, no device to pause).
#pragma once

#include <cstdint>

namespace qc {

struct ShellServices {
  uint32_t (*ticks)();
  void (*lockAudio)();
  void (*unlockAudio)();
  void (*pauseAudio)(bool paused);
};

extern ShellServices shell;

// Holds the audio lock for a scope.
class AudioLock {
 public:
  AudioLock() { shell.lockAudio(); }
  ~AudioLock() { shell.unlockAudio(); }
  AudioLock(const AudioLock&) = delete;
  AudioLock& operator=(const AudioLock&) = delete;
};

}  // namespace qc
