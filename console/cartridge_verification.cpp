#include "console/cartridge_verification.h"

#include <algorithm>
#include <cstdio>

#include "console/cartridge_machine.h"

namespace qc {

namespace {

// The player's start-up (standard detection, the timer check, the screen)
// takes a few frames; one that has not played by then never will.
constexpr uint64_t kStartUpFrames = 120;

constexpr const char* kNtscFrameRate =
    "nes: by design, an NTSC console runs the per-frame effects (arpeggio, vibrato, slides, envelopes) at its "
    "60 Hz, 11.6% faster than the editor's 53.8 Hz; rows keep their tempo";
constexpr const char* kLoopAtEndByte =
    "nes: by design, a looping sample starts again right after its last byte, where the editor starts it again "
    "at the next frame";

std::string hex(int value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "$%0*X", digits, value);
  return text;
}

std::string describeDifference(const std::vector<FrameWrite>& got, const std::vector<FrameWrite>& expected) {
  for (size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
    if (got[i].address != expected[i].address)
      return "register write " + std::to_string(i + 1) + " goes to " + hex(got[i].address, 4) + ", expected " +
             hex(expected[i].address, 4);
    if (got[i].value != expected[i].value)
      return hex(got[i].address, 4) + ": expected " + hex(expected[i].value, 2) + ", got " + hex(got[i].value, 2);
  }
  return std::to_string(got.size()) + " register writes, expected " + std::to_string(expected.size());
}

// The byte stream of the sample playing: its data from where it stands,
// again from the start when it loops.
class SampleStream {
 public:
  explicit SampleStream(const std::array<RawSample, kSampleSlots>& samples) : samples_(&samples) {}
  void start(int slot) {
    slot_ = slot;
    position_ = 0;
  }
  bool playing() const { return slot_ > 0 && position_ < data().size(); }
  uint8_t next() const { return data()[position_]; }
  void advance() {
    if (++position_ == data().size() && (*samples_)[size_t(slot_)].loop) position_ = 0;
  }

 private:
  const std::vector<uint8_t>& data() const { return (*samples_)[size_t(slot_)].data; }
  const std::array<RawSample, kSampleSlots>* samples_;
  int slot_ = 0;
  size_t position_ = 0;
};

// Takes bytes from `from` while they continue `stream`; returns how many.
size_t follow(SampleStream& stream, const std::vector<uint8_t>& bytes, size_t from) {
  size_t i = from;
  for (; i < bytes.size() && stream.playing() && stream.next() == bytes[i]; ++i) stream.advance();
  return i;
}

// Empty when the frame's DAC bytes continue the playing sample and, from
// some byte on, play the sample the frame starts.
std::string compareSamples(SampleStream& stream, const std::vector<uint8_t>& bytes, int started,
                           const std::array<RawSample, kSampleSlots>& samples) {
  size_t matched = 0;
  if (started == 0) {
    matched = follow(stream, bytes, 0);
  } else {
    // The start falls between two interrupts of the frame: try each place.
    SampleStream before = stream;
    for (size_t split = 0;; ++split) {
      SampleStream after(samples);
      after.start(started);
      const size_t end = follow(after, bytes, split);
      if (end == bytes.size()) {
        stream = after;
        return {};
      }
      matched = std::max(matched, end);
      if (split == bytes.size() || !before.playing() || before.next() != bytes[split]) break;
      before.advance();
    }
  }
  if (matched == bytes.size()) return {};
  return "sample byte " + std::to_string(matched + 1) + " of the frame is " + hex(bytes[matched], 2) +
         (started ? ", not sample " + std::to_string(started) + " from its start" : ", not the playing sample's next");
}

}  // namespace

VerificationResult verifyCartridge(const std::vector<uint8_t>& image, const std::vector<CartridgeFrame>& reference,
                                   const std::array<RawSample, kSampleSlots>& samples, bool pal) {
  auto failure = [](const std::string& what) { return VerificationResult{false, "nes: " + what}; };
  InesFile rom;
  std::string error;
  if (!readInesFile(image, rom, error)) return failure(error);
  CartridgeMachine machine(std::move(rom), pal);
  machine.reset();

  // The start-up silences the APU before the first vertical blank; every
  // frame after that is one run of the player.
  std::vector<std::vector<FrameWrite>> frames;
  std::vector<std::vector<uint8_t>> dac;
  uint64_t firstFrame = 0;
  size_t next = 0;
  while (frames.size() <= reference.size()) {
    machine.runFrames(1);
    if (machine.cpu.jam) return failure("the player jams at " + hex(*machine.cpu.jam, 4));
    for (; next < machine.apuWrites.size(); ++next) {
      const CartridgeMachine::LoggedWrite& w = machine.apuWrites[next];
      if (w.frame == 0) continue;
      if (firstFrame == 0) firstFrame = w.frame;
      const size_t index = w.frame - firstFrame;
      if (index >= frames.size()) {
        frames.resize(index + 1);
        dac.resize(index + 1);
      }
      if (w.address == kApuDac) dac[index].push_back(w.value);
      else frames[index].push_back({w.address, w.value});
    }
    if (firstFrame == 0 && machine.ppu.frames() > kStartUpFrames) return failure("the player never starts");
    if (machine.ppu.frames() > firstFrame + reference.size() + kStartUpFrames)
      return failure("the player stops writing the sound registers after frame " + std::to_string(frames.size()));
  }

  SampleStream stream(samples);
  size_t sampleBytes = 0;
  for (size_t f = 0; f < reference.size(); ++f) {
    const CartridgeFrame& r = reference[f];
    std::string difference;
    if (frames[f] != r.writes) difference = describeDifference(frames[f], r.writes);
    if (difference.empty()) difference = compareSamples(stream, dac[f], r.sample, samples);
    if (!difference.empty())
      return failure("frame " + std::to_string(f) + " (order " + std::to_string(r.order) + " row " +
                     std::to_string(r.row) + " tick " + std::to_string(r.tick) + "): " + difference);
    sampleBytes += dac[f].size();
  }
  return {true, "nes: " + std::to_string(reference.size()) + " frames on a " + (pal ? "PAL" : "NTSC") +
                    " console, registers equal, " + std::to_string(sampleBytes) + " sample bytes equal"};
}

std::vector<std::string> cartridgeDesignDifferences(const std::vector<CartridgeFrame>& reference,
                                                    const std::array<RawSample, kSampleSlots>& samples, bool pal) {
  std::vector<std::string> lines;
  if (!pal) lines.push_back(kNtscFrameRate);
  if (std::any_of(reference.begin(), reference.end(),
                  [&](const CartridgeFrame& r) { return r.sample > 0 && samples[size_t(r.sample)].loop; }))
    lines.push_back(kLoopAtEndByte);
  return lines;
}

}  // namespace qc
