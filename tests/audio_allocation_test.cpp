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

namespace qc {

namespace {

TEST_F(AudioLoopTest, FollowsClockChangesWithoutAllocatingOrFallingSilent) {
  Samples callback(4096);
  fillAudio(*chip, player.get(), callback.data(), 4096);
  allocations = 0;
  counting = true;
  for (int i = 0; i < 30; ++i) {
    if (i % 5 == 0) {
      song.ntsc = !song.ntsc;
      player->clockChanged = true;
    }
    fillAudio(*chip, player.get(), callback.data(), 4096);
    EXPECT_GT(peak(callback), 1000) << i;
    EXPECT_EQ(player->periodTable[1], song.ntsc ? 3420 : 3177) << "the table follows the clock";
  }
  counting = false;
  EXPECT_EQ(allocations, 0);
}

}  // namespace

}  // namespace qc
