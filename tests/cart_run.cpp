#include "tests/cart_run.h"

#include <algorithm>

#include "export/cart_images.h"
#include "export/rom_layout.h"
#include "playback/player.h"

namespace {

constexpr uint16_t kDac = 0x4011;
constexpr int32_t kCartPeriodEntry0 = 31337;
constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;

// The editor's player under the cartridge's row timing.
struct Reference {
  Reference(const Song& from, VideoStandard standard, bool withEngine) : song(from) {
    song.ntsc = standard == VideoStandard::kNtsc;
    if (!withEngine) player.engine = nullptr;
    player.options.rowTiming = RowTiming::kCartridge;
    startSong(player);
    player.periodTable[0] = kCartPeriodEntry0;
  }
  // The cartridge keeps the period offset in 16 bits and saturates it there;
  // the editor's never gets that far unless a slide runs for minutes.
  void frame() {
    playerFrame(player);
    for (ChannelState& c : player.channels) c.periodOffset = std::clamp(c.periodOffset, kInt16Min, kInt16Max);
  }
  Song song;
  Engine engine;
  Player player{song, &engine};
};

}  // namespace

std::unique_ptr<Vrc6Machine> bootCartridge(const Song& song, VideoStandard standard, bool timerWired) {
  const RomImage image = buildRomImage(song, kCartPlayerImage, kCartCharacterRom);
  auto machine = std::make_unique<Vrc6Machine>(image.bytes, standard == VideoStandard::kPal, timerWired);
  machine->reset();
  return machine;
}

std::vector<FrameWrites> cartridgeFrames(Vrc6Machine& machine, int count) {
  // The start-up silences the APU before the first vertical blank; every
  // frame after that is one run of the player.
  std::vector<FrameWrites> frames;
  size_t next = 0;
  uint64_t firstFrame = 0;
  while (int(frames.size()) <= count) {
    machine.runFrames(1);
    for (; next < machine.apuWrites.size(); ++next) {
      const Vrc6Machine::LoggedWrite& w = machine.apuWrites[next];
      if (w.frame == 0 || w.address == kDac) continue;
      if (firstFrame == 0) firstFrame = w.frame;
      const size_t index = w.frame - firstFrame;
      if (index >= frames.size()) frames.resize(index + 1);
      frames[index].push_back({w.address, w.value});
    }
  }
  frames.resize(size_t(count));
  return frames;
}

std::vector<FrameWrites> referenceFrames(const Song& song, VideoStandard standard, int count) {
  auto reference = std::make_unique<Reference>(song, standard, true);
  std::vector<FrameWrites> frames(static_cast<size_t>(count));
  FrameWrites* current = nullptr;
  reference->engine.writeObserver = [&](uint32_t address, uint8_t value, int32_t) {
    if (address >= 0x4000 && address <= 0x4017 && address != kDac) current->push_back({uint16_t(address), value});
  };
  for (FrameWrites& frame : frames) {
    current = &frame;
    reference->frame();
  }
  return frames;
}

std::string referencePosition(const Song& song, VideoStandard standard, int frame) {
  auto reference = std::make_unique<Reference>(song, standard, false);
  for (int i = 0; i < frame; ++i) reference->frame();
  const Player& p = reference->player;
  return "order " + std::to_string(p.playOrder) + " row " + std::to_string(p.playRow) + " tick " +
         std::to_string(p.playTick);
}

std::string screenRow(const Vrc6Machine& machine, int row) {
  std::string text;
  for (int column = 0; column < 32; ++column) {
    const uint8_t tile = machine.ppu.vram[0x2000 + row * 32 + column];
    const int c = (tile + 94) & 0xFF;
    text += tile == 0 ? '.' : c >= ' ' && c <= ']' ? char(c) : '#';
  }
  return text;
}
