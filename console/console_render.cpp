#include "console/console_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "playback/loop_point.h"
#include "console/cartridge_machine.h"
#include "console/console_audio.h"
#include "console/nsf_machine.h"
#include "export/nsf_driver_image.h"
#include "export/nsf_layout.h"
#include "playback/clock_rates.h"

namespace qc {

namespace {

constexpr uint64_t kInitCycles = 1'000'000;  // over half a second
constexpr double kDriverTickCycles = 33260.5;
constexpr size_t kBank = kBankBytes;
constexpr char kTableTag[4] = {'V', '.', 'M', '.'};
constexpr size_t kPatternEntryBytes = 8;

std::string hex(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "$%04X", value);
  return text;
}

// Driver ticks from play's first tick to the loop point, read from the
// table bank of our own NSF files; 0 for any other file.
uint64_t exportedTicks(const NsfFile& file) {
  if (file.loadAddress != kNsfLoadAddress || file.initAddress != kNsfInitAddress ||
      file.playAddress != kNsfPlayAddress)
    return 0;
  const size_t bank = (file.loadAddress & 0xFFF) + size_t(kTableBank) * kBank;  // data offset of bank 1
  if (file.data.size() < bank + kBank || !std::equal(kTableTag, kTableTag + 4, file.data.begin() + long(bank)))
    return 0;
  const uint8_t* tables = &file.data[bank];
  auto word = [&](size_t at) { return size_t(tables[at] | tables[at + 1] << 8); };
  const size_t orders = word(4), patterns = word(6);
  uint64_t ticks = 0;
  for (size_t i = orders; i < kBank && tables[i] != kOrderListEnd; ++i) {
    const size_t entry = patterns + tables[i] * kPatternEntryBytes;
    if (entry + 5 > kBank) return 0;
    ticks += word(entry + 3) + 1;
  }
  return ticks;
}

std::string stoppedAfter(const char* what, uint64_t cycles, int32_t clockRate) {
  char text[96];
  std::snprintf(text, sizeof text, "%s; stopped after %.1f seconds", what, double(cycles) / clockRate);
  return text;
}

}  // namespace

ConsoleRenderResult renderNsfFile(const std::vector<uint8_t>& bytes, double seconds, double capSeconds,
                                  const SampleSink& sink) {
  ConsoleRenderResult result;
  NsfFile file;
  if (!readNsfFile(bytes, file, result.error)) return result;
  const int32_t clockRate = file.pal ? kPalClockRate : kNtscClockRate;
  const double playPeriod = clockRate / file.playRate;
  const uint64_t ticks = exportedTicks(file);
  const uint64_t cap = uint64_t(capSeconds * clockRate);
  uint64_t length = cap;
  if (seconds > 0) length = uint64_t(seconds * clockRate);
  else if (ticks) length = std::min(cap, kNsfPlayWait + uint64_t(std::ceil((double(ticks) + 1) * kDriverTickCycles)));

  NsfMachine machine(std::move(file));
  const uint8_t song = machine.file.startSong ? uint8_t(machine.file.startSong - 1) : 0;
  if (!machine.init(song, kInitCycles)) {
    result.note = machine.cpu.jam ? "init jams at " + hex(*machine.cpu.jam) : "init does not return";
    return result;
  }
  const uint64_t start = machine.cpu.cycles;
  ConsoleAudio audio(clockRate, start);
  std::vector<int16_t> samples;
  uint64_t played = 0;
  for (uint64_t call = 0; played < length; ++call) {
    const uint64_t sliceEnd = start + std::min(length, uint64_t(double(call + 1) * playPeriod));
    // A play routine that has not returned (ours never does) runs on.
    if (machine.idle()) machine.startPlay();
    machine.runUntil(sliceEnd);
    if (machine.idle()) machine.cpu.cycles = sliceEnd;
    for (const ConsoleWrite& w : machine.apuWrites) audio.write(w.cycle, w.address, w.value);
    machine.apuWrites.clear();
    const uint64_t end = std::max(sliceEnd, machine.cpu.cycles);
    samples.clear();
    audio.endSlice(end, samples);
    played = end - start;
    if (!sink(samples)) {
      result.sinkFailed = true;
      break;
    }
    if (machine.cpu.jam) {
      result.note = stoppedAfter(("the CPU jams at " + hex(*machine.cpu.jam)).c_str(), played, clockRate);
      break;
    }
  }
  if (result.note.empty() && seconds <= 0 && !ticks) result.note = stoppedAfter("no loop point known", played, clockRate);
  result.seconds = double(played) / clockRate;
  return result;
}

ConsoleRenderResult renderCartridgeFile(const std::vector<uint8_t>& bytes, double seconds, double capSeconds,
                                        const SampleSink& sink) {
  ConsoleRenderResult result;
  InesFile rom;
  if (!readInesFile(bytes, rom, result.error)) return result;
  const bool pal = rom.pal;
  const int32_t clockRate = pal ? kPalClockRate : kNtscClockRate;
  CartridgeMachine machine(std::move(rom), pal);
  machine.reset();
  ConsoleAudio audio(clockRate, 0);
  const uint64_t length = uint64_t((seconds > 0 ? seconds : capSeconds) * clockRate);
  LoopPointFinder loop(0, 0);
  bool looped = false;
  std::vector<int16_t> samples;
  while (machine.cpu.cycles < length) {
    // Slices end where vertical blanks begin: the player's RAM is at rest.
    machine.runUntil(std::min(length, machine.ppu.nextVblank()));
    for (const CartridgeMachine::LoggedWrite& w : machine.apuWrites) audio.write(w.cycle, w.address, w.value);
    machine.apuWrites.clear();
    samples.clear();
    audio.endSlice(machine.cpu.cycles, samples);
    if (!sink(samples)) {
      result.sinkFailed = true;
      break;
    }
    if (machine.cpu.jam) {
      result.note = stoppedAfter(("the CPU jams at " + hex(*machine.cpu.jam)).c_str(), machine.cpu.cycles, clockRate);
      break;
    }
    // The frame that reached the loop point is the song's last: it has now played.
    if (looped) break;
    if (seconds <= 0)
      looped = loop.entered(machine.ramByte(kCartPlayOrderAddress), machine.ramByte(kCartPlayRowAddress)) && loop.looped();
  }
  if (result.note.empty() && seconds <= 0 && !looped)
    result.note = stoppedAfter("no loop point reached", machine.cpu.cycles, clockRate);
  result.seconds = double(machine.cpu.cycles) / clockRate;
  return result;
}

}  // namespace qc
