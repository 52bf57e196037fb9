#include <atomic>
#include <cstdlib>
#include <new>

#include "audio_test_support.h"

// Counts the allocations made while `counting` is on, for the whole test binary.
namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

int frame = 0;

void everyRegisterFrame() {
  ++frame;
  for (uint32_t address = 0x4000; address <= 0x4017; ++address)
    apuWrite(address, uint8_t(address * 7 + frame * 13));
  apuWrite(0x4015, 0x1F);
  apuWrite(0x9000, 0x7F);
  apuWrite(0x9001, uint8_t(frame));
  apuWrite(0x9002, 0x80);
  // A change of video standard in mid-song, as the player's request does it.
  if (frame % 50 == 0) {
    app.song.ntsc = !app.song.ntsc;
    setupChipClock();
  }
}
void levelSubStep() { apuWrite(0x4011, uint8_t(frame * 3)); }

using AllocationTest = AudioTest;

TEST_F(AllocationTest, AudioLoopNeverAllocates) {
  setPlayerRoutines(everyRegisterFrame, levelSubStep);
  Samples callback(4096);
  fillAudio(callback.data(), 4096);
  allocations = 0;
  counting = true;
  for (int i = 0; i < 30; ++i) fillAudio(callback.data(), 4096);
  counting = false;
  EXPECT_EQ(allocations, 0);
  EXPECT_GE(frame, 100);
}

}  // namespace
