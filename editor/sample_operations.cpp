#include "editor/sample_operations.h"

#include <array>
#include <cstdio>
#include <vector>

#include "editor/undo_history.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

namespace {

void freeSlot(int slot) {
  recordSampleChange(slot);
  app.song.samples[slot] = RawSample{};
}

std::vector<int> freeSlots(size_t wanted) {
  std::vector<int> slots;
  for (int slot = 1; slot < kSampleSlots && slots.size() < wanted; ++slot)
    if (!app.song.samples[slot].holdsData()) slots.push_back(slot);
  return slots;
}

}  // namespace

int stripUnusedSamples() {
  AudioLock lock;
  std::array<bool, kSampleSlots> used{};
  const int patterns = usedPatternCount(app.song);
  for (int p = 0; p < patterns; ++p)
    for (const Cell& cell : app.song.patterns[p].cells[kPcmTrack]) used[cell.note] = true;
  int stripped = 0;
  for (int slot = 0; slot < kSampleSlots; ++slot) {
    if (used[slot] || !app.song.samples[slot].holdsData()) continue;
    freeSlot(slot);
    ++stripped;
  }
  std::printf("%d unused samples stripped\n", stripped);
  std::fflush(stdout);
  return stripped;
}

SliceResult sliceSample() {
  AudioLock lock;
  const RawSample& source = app.song.samples[app.editor.currentSample];
  if (!source.holdsData()) return SliceResult::EmptySlot;
  const uint32_t half = source.length() / 2;
  if (half == 0) return SliceResult::TooShort;
  // Half a beat is no slice: both halves or nothing.
  const std::vector<int> slots = freeSlots(2);
  if (slots.size() < 2) return SliceResult::NoFreeSlots;
  for (int k = 0; k < 2; ++k) {
    recordSampleChange(slots[k]);
    RawSample& part = app.song.samples[slots[k]];
    const auto first = source.data.begin() + k * half;
    part.data.assign(first, first + half);
    part.loop = false;
    part.name = std::to_string(k) + "#" + source.name;
  }
  return SliceResult::Sliced;
}

void removeSample() {
  AudioLock lock;
  freeSlot(app.editor.currentSample);
}

bool toggleSampleLoop() {
  AudioLock lock;
  const int slot = app.editor.currentSample;
  if (!app.song.samples[slot].holdsData()) return false;
  recordSampleLoopChange(slot);
  app.song.samples[slot].loop = !app.song.samples[slot].loop;
  return true;
}

}  // namespace qc
