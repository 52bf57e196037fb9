#include "console/reference_ticks.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "cli/loop_point.h"
#include "console/console_write.h"
#include "export/nsf_export.h"
#include "export/song_compiler.h"
#include "playback/audio_output.h"
#include "playback/player.h"
#include "song/app_state.h"

namespace {

constexpr int32_t kCartPeriodEntry0 = 31337;
constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;

// The song compiler reports its progress on stdout; the verification keeps
// its output to its own result lines.
class QuietStdout {
 public:
  QuietStdout() {
    std::fflush(stdout);
    saved_ = dup(fileno(stdout));
    std::FILE* null = std::fopen("/dev/null", "w");
    if (null) {
      dup2(fileno(null), fileno(stdout));
      std::fclose(null);
    }
  }
  ~QuietStdout() {
    std::fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, fileno(stdout));
      close(saved_);
    }
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;

 private:
  int saved_ = -1;
};

CartridgeFrame* recording = nullptr;

void recordWrite(uint32_t address, uint8_t value, int32_t) {
  if (address >= kApuFirstRegister && address <= kApuLastRegister && address != kApuDac)
    recording->writes.push_back({uint16_t(address), value});
}

void startCartridgeReference(bool pal) {
  app.song.ntsc = !pal;
  PlayerState& p = app.player;
  p.rowTiming = RowTiming::kCartridge;
  p.exportMode = false;
  p.speed = 6;
  p.tempo = 125;
  p.playOrder = 0;
  p.playRow = 0;
  p.playTick = 0;
  p.tempoAccumulator = 0;
  p.playPatternOnly = false;
  app.editor.repeatBlock = false;
  resetPlayer();
  p.periodTable[0] = kCartPeriodEntry0;
  p.sequencerRunning = true;
}

// The cartridge keeps the period offset in 16 bits and saturates it there;
// the editor's gets that far only when a slide runs for minutes.
void saturateOffsets() {
  for (ChannelState& c : app.player.channels) c.periodOffset = std::clamp(c.periodOffset, kInt16Min, kInt16Max);
}

}  // namespace

std::optional<NsfReference> nsfReference() {
  QuietStdout quiet;
  NsfReference out;
  std::optional<std::vector<uint8_t>> file = compileNsf();
  if (!file) return std::nullopt;
  out.file = std::move(*file);
  ExportSession session;
  SongStreams streams;
  if (!compileSong(streams)) return std::nullopt;
  const ChannelStreams& pulse1 = streams.channels[0];
  size_t total = 0;
  for (size_t pass = 0; pass < pulse1.orderList.size(); ++pass) {
    if (int(pass) == streams.loopPoint) out.loopTick = total;
    total += size_t(pulse1.pool[size_t(pulse1.orderList[pass])].ticks);
  }
  // The ticks themselves come from the player, not from the compiler's records.
  startExportSimulation();
  for (size_t t = 0; t < total; ++t) {
    playerFrame();
    out.ticks.push_back(app.player.capture.field);
  }
  app.player.exportMode = false;
  app.player.sequencerRunning = false;
  return out;
}

std::optional<std::vector<CartridgeFrame>> cartridgeReference(bool pal, int beyond, int maxFrames) {
  const bool ntsc = app.song.ntsc;
  startCartridgeReference(pal);
  PlayerState& p = app.player;
  LoopPointFinder loop(p.playOrder, p.playRow);
  std::vector<CartridgeFrame> frames;
  int last = maxFrames;
  bool looped = false;
  setRegisterWriteObserver(recordWrite);
  while (int(frames.size()) < last) {
    CartridgeFrame& frame = frames.emplace_back();
    frame.order = p.playOrder;
    frame.row = p.playRow;
    frame.tick = p.playTick;
    recording = &frame;
    playerFrame();
    saturateOffsets();
    frame.sample = std::max(0, p.capture.field[kCapSample]);
    if (!looped && loop.reached(p.playOrder, p.playRow)) {
      looped = true;
      last = std::min(maxFrames, int(frames.size()) + beyond);
    }
  }
  setRegisterWriteObserver(nullptr);
  recording = nullptr;
  p.sequencerRunning = false;
  p.rowTiming = RowTiming::kEditor;
  app.song.ntsc = ntsc;
  buildPeriodTable();
  if (!looped) return std::nullopt;
  return frames;
}
