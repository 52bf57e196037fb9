#include "export/rom_layout.h"

#include <algorithm>

#include "export/rom_table_half.h"

namespace qc {

namespace {

constexpr uint8_t kHeaderTemplate[kInesHeaderSize] = {
    'N', 'E', 'S', 0x1A,
    2,     // PRG banks, patched
    1,     // CHR banks
    0x80,  // mapper low nibble 8, no flags
    0x10,  // mapper high nibble 1: mapper 24
    0, 0, 0, 0, 0, 0, 0, 0};
constexpr int kPrgBankCountOffset = 4;

uint8_t swapNibbles(uint8_t b) { return uint8_t((b << 4) | (b >> 4)); }

void padTo(std::vector<uint8_t>& prg, size_t multiple) {
  prg.resize((prg.size() + multiple - 1) / multiple * multiple, 0);
}

bool isPowerOfTwo(size_t n) { return n != 0 && (n & (n - 1)) == 0; }

}  // namespace

std::vector<uint8_t> romPattern(const Pattern& pattern) {
  std::vector<uint8_t> out;
  out.reserve(kRomPatternBytes);
  for (int row = 0; row < kRows; ++row) {
    for (int track = 0; track < kToneChannels; ++track) {
      const Cell& c = pattern.cells[track][row];
      out.push_back(c.note);
      out.push_back(swapNibbles(c.instrumentEffect));
      out.push_back(swapNibbles(c.param));
    }
    out.push_back(pattern.cells[kPcmTrack][row].note);
  }
  return out;
}

RomImage buildRomImage(const Song& song, std::span<const uint8_t, kCartImageSize> player,
                       std::span<const uint8_t, kCartImageSize> chr) {
  std::vector<uint8_t> prg;
  const int patternCount = usedPatternCount(song);
  for (int p = 0; p < patternCount; ++p) {
    const std::vector<uint8_t> rows = romPattern(song.patterns[p]);
    prg.insert(prg.end(), rows.begin(), rows.end());
    if (p % kRomPatternsPerBank == kRomPatternsPerBank - 1) padTo(prg, kPrgBankSize);
  }
  padTo(prg, kPrgBankSize);

  int lastSlot = 0;
  for (int s = 1; s < kSampleSlots; ++s)
    if (song.samples[s].length() != 0) lastSlot = s;
  std::vector<SampleTableEntry> sampleTable;
  const size_t sampleStart = prg.size();
  for (int s = 1; s <= lastSlot; ++s) {
    const RawSample& sample = song.samples[s];
    const size_t running = prg.size() - sampleStart;
    // Banks past 255 cannot be named; the bank limit below refuses such songs anyway.
    sampleTable.push_back({uint16_t(0xC000 + running % kPrgHalfBankSize),
                           uint8_t(prg.size() / kPrgHalfBankSize)});
    prg.insert(prg.end(), sample.data.begin(), sample.data.end());
    prg.push_back(sample.loop ? kRomSampleLoopEnd : kRomSampleStopEnd);
  }
  padTo(prg, kPrgBankSize);

  while (!isPowerOfTwo(prg.size() / kPrgBankSize + 1)) prg.resize(prg.size() + kPrgBankSize, 0);
  const size_t banks = prg.size() / kPrgBankSize + 1;
  if (banks > size_t(kMaxPrgBanks))
    return {{}, "the song needs " + std::to_string(banks) + " PRG banks of 16 KB, the mapper holds " +
                    std::to_string(kMaxPrgBanks)};

  const auto tableHalf = buildTableHalf(song, patternCount, sampleTable);
  if (!tableHalf) return {{}, "the song's tables do not fit in their 8 KB"};

  RomImage image;
  std::vector<uint8_t>& out = image.bytes;
  out.reserve(kInesHeaderSize + banks * kPrgBankSize + kCartImageSize);
  out.insert(out.end(), kHeaderTemplate, kHeaderTemplate + kInesHeaderSize);
  out[kPrgBankCountOffset] = uint8_t(banks);
  out.insert(out.end(), prg.begin(), prg.end());
  out.insert(out.end(), tableHalf->begin(), tableHalf->end());
  out.insert(out.end(), player.begin(), player.end());
  out.insert(out.end(), chr.begin(), chr.end());
  return image;
}

}  // namespace qc
