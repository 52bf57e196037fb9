#include "console/reference_ticks.h"

#include <algorithm>

#include "console/console_write.h"
#include "export/nsf_export.h"
#include "playback/engine.h"
#include "playback/loop_point.h"
#include "playback/player.h"
#include "playback/song_length.h"

namespace qc {

namespace {

constexpr int32_t kCartPeriodEntry0 = 31337;
constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;

// The cartridge keeps the period offset in 16 bits and saturates it there;
// the editor's gets that far only when a slide runs for minutes.
void saturateOffsets(Player& p) {
  for (ChannelState& c : p.channels) c.periodOffset = std::clamp(c.periodOffset, kInt16Min, kInt16Max);
}

}  // namespace

std::optional<NsfReference> nsfReference(const Song& song) {
  NsfReference out;
  std::optional<std::vector<uint8_t>> file = compileNsf(song);
  if (!file) return std::nullopt;
  out.file = std::move(*file);
  // Where the song loops comes from playing it, not from the compiler, so a
  // compiler that ends or loops its passes wrongly plays against it.
  const SongSpan once = ticksThroughLoops(song, 1, renderCapTicks(song.ntsc));
  if (!once.looped) return std::nullopt;
  out.loopTick = size_t(once.introTicks);
  const size_t total = size_t(once.ticks);
  // The ticks themselves come from a player, not from the compiler's records.
  PlayerOptions options;
  options.capture = true;
  Player player(song, nullptr, options);
  startSong(player);
  for (size_t t = 0; t < total; ++t) {
    playerFrame(player);
    out.ticks.push_back(player.capture.field);
  }
  return out;
}

std::optional<std::vector<CartridgeFrame>> cartridgeReference(const Song& song, bool pal, int beyond,
                                                              int maxFrames) {
  Song onConsole = song;
  onConsole.ntsc = !pal;
  Engine engine(onConsole.ntsc);
  CartridgeFrame* recording = nullptr;
  engine.writeObserver = [&recording](uint32_t address, uint8_t value, int32_t) {
    if (address >= kApuFirstRegister && address <= kApuLastRegister && address != kApuDac)
      recording->writes.push_back({uint16_t(address), value});
  };
  PlayerOptions options;
  options.capture = true;
  options.rowTiming = RowTiming::kCartridge;
  Player p(onConsole, &engine, options);
  startSong(p);
  p.periodTable[0] = kCartPeriodEntry0;
  LoopPointFinder loop(p.playOrder, p.playRow);
  std::vector<CartridgeFrame> frames;
  int last = maxFrames;
  bool looped = false;
  while (int(frames.size()) < last) {
    CartridgeFrame& frame = frames.emplace_back();
    frame.order = p.playOrder;
    frame.row = p.playRow;
    frame.tick = p.playTick;
    recording = &frame;
    playerFrame(p);
    saturateOffsets(p);
    frame.sample = std::max(0, p.capture.field[kCapSample]);
    if (!looped && loop.entered(p.playOrder, p.playRow) && loop.looped()) {
      looped = true;
      last = std::min(maxFrames, int(frames.size()) + beyond);
    }
  }
  if (!looped) return std::nullopt;
  return frames;
}

}  // namespace qc
