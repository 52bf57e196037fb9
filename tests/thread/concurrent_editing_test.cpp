// Runs the audio loop on its own thread, as SDL does, while the main thread
// edits, plays, stops and reloads. Built with ThreadSanitizer in CI: any
// shared field touched outside the audio lock shows up as a race.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "editor/live_player.h"
#include "song/module_file.h"
#include "tests/key_test_support.h"

namespace qc {

namespace {

std::string demoSongPath() { return std::string(QC_SOURCE_DIR) + "/examples/demo.qcm"; }

TEST(ConcurrentEditing, AudioThreadNeverSeesAHalfMadeChange) {
  resetToProgramStart();
  initLivePlayback();
  {
    AudioLock lock;
    ASSERT_TRUE(loadModuleFile(demoSongPath()));
    resetPlayer();
  }

  // Relaxed: the counters order nothing, so the audio lock is the only
  // thing that can order the two threads' use of the state.
  std::atomic<bool> stop{false};
  std::atomic<int> callbacks{0};
  std::thread audio([&] {
    std::vector<int16_t> buffer(1024);
    while (!stop.load(std::memory_order_relaxed)) {
      AudioLock lock;  // SDL holds the audio lock around its callback
      fillLiveAudio(buffer.data(), int(buffer.size()));
      callbacks.fetch_add(1, std::memory_order_relaxed);
    }
  });

  // Lets the audio thread run a few callbacks between the main thread's steps.
  auto letAudioRun = [&] {
    const int target = callbacks.load(std::memory_order_relaxed) + 2;
    while (callbacks.load(std::memory_order_relaxed) < target) std::this_thread::yield();
  };

  for (int round = 0; round < 6; ++round) {
    press(kKeyRCtrl);            // play the song
    letAudioRun();
    press(kKeyEscape);           // edit mode on
    for (char key : std::string("qwertyzxc")) {
      press(key, 0, uint16_t(key));
      release(key);
      letAudioRun();
    }
    press(kKeyF9);               // slice (no sample: a message only)
    press('v', kModLCtrl);       // paste
    press(kKeyInsert);
    press(kKeyBackspace);
    press('z', kModLCtrl);       // undo
    press(kKeyF7, kModLAlt);     // NTSC/PAL: the audio thread resets its clock
    press(kKeyRShift);           // play from the cursor
    letAudioRun();
    press(kKeySpace);            // stop
    press(kKeyEscape);           // edit mode off
    AudioLock lock;
    ASSERT_TRUE(loadModuleFile(demoSongPath()));
    resetPlayer();
  }

  stop.store(true, std::memory_order_relaxed);
  audio.join();
  EXPECT_FALSE(isPlaying());
}

}  // namespace

}  // namespace qc
