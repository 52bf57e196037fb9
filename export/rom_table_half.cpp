#include "export/rom_table_half.h"

#include <algorithm>

#include "export/rom_layout.h"
#include "export/rom_name_line.h"

namespace qc {

namespace {

constexpr int kPatternWindowAddress = 0x8000;
constexpr int kPointerTableBytes = (kInstrumentSlots - 1) * 2;
// The fixed note 127 clamps and wraps exactly like fixed note 95, and unlike
// it its byte would read as the record's end.
constexpr uint8_t kFixedNote127 = 0xFF;
constexpr uint8_t kFixedNote95 = 0x80 | 95;

void putWord(std::vector<uint8_t>& out, size_t at, int value) {
  out[at] = uint8_t(value & 0xFF);
  out[at + 1] = uint8_t((value >> 8) & 0xFF);
}

uint8_t envelopeByte(int kind, int32_t value) {
  if (kind == kVolumeEnvelope) return uint8_t(std::clamp(value, 0, 15));
  if (kind == kDutyEnvelope) return uint8_t(value & 3);
  const uint8_t b = uint8_t(value & 0xFF);
  return b == kFixedNote127 ? kFixedNote95 : b;
}

}  // namespace

std::array<uint8_t, kRomInstrumentRecordSize> instrumentRecord(const Song& song, int instrument) {
  std::array<uint8_t, kRomInstrumentRecordSize> record{};
  for (int kind = 0; kind < kEnvelopeKinds; ++kind) {
    const Envelope& e = song.envelopes[instrument][kind];
    uint8_t* out = record.data() + kind * kRomEnvelopeRecordSize;
    int length = envelopeLength(e);
    if (length < 0 || length > kMaxEnvelopeLength) length = kMaxEnvelopeLength;
    if (length == 0) {
      // The editor's player reads the loop slot as the value of an empty
      // envelope; one value of that keeps the cartridge in step with it.
      out[0] = envelopeByte(kind, e.loop);
      length = 1;
    } else {
      for (int i = 0; i < length; ++i) out[i] = envelopeByte(kind, e.values[i]);
    }
    // A loop past the end holds the last value in the editor, as does a loop on it.
    const int loop = std::clamp(e.loop, 0, length - 1);
    out[length] = kRomEnvelopeEnd;
    out[length + 1] = uint8_t((loop - length) & 0xFF);
  }
  return record;
}

std::optional<std::vector<uint8_t>> buildTableHalf(const Song& song, int patternCount,
                                                   const std::vector<SampleTableEntry>& samples) {
  const int orderCount = std::clamp(song.orderCount, 1, kMaxOrders);
  const int instrumentPointers = 6 + orderCount + 1;
  const int patternPointers = instrumentPointers + kPointerTableBytes;
  const int sampleTable = patternPointers + 2 * patternCount;
  const int records = sampleTable + 3 * int(samples.size());
  const int nameLines = records + (kInstrumentSlots - 1) * kRomInstrumentRecordSize;
  const int end = nameLines + (kInstrumentSlots - 1) * kNameLineWidth;
  if (end > kTableHalfSize) return std::nullopt;

  std::vector<uint8_t> half(kTableHalfSize, 0);
  putWord(half, 0, kTableHalfAddress + instrumentPointers);
  putWord(half, 2, kTableHalfAddress + patternPointers);
  putWord(half, 4, kTableHalfAddress + sampleTable);
  for (int i = 0; i < orderCount; ++i) half[6 + i] = uint8_t(song.orders[i] & 0xFF);
  half[6 + orderCount] = kRomOrderListEnd;
  for (int p = 0; p < patternCount; ++p)
    putWord(half, patternPointers + 2 * p, kPatternWindowAddress + (p % kRomPatternsPerBank) * kRomPatternBytes);
  for (size_t s = 0; s < samples.size(); ++s) {
    putWord(half, sampleTable + 3 * s, samples[s].address);
    half[sampleTable + 3 * s + 2] = samples[s].bank;
  }
  for (int i = 1; i < kInstrumentSlots; ++i) {
    const int at = records + (i - 1) * kRomInstrumentRecordSize;
    putWord(half, instrumentPointers + 2 * (i - 1), kTableHalfAddress + at);
    const auto record = instrumentRecord(song, i);
    std::copy(record.begin(), record.end(), half.begin() + at);
    const auto line = instrumentNameLine(song.instrumentNames[i]);
    std::copy(line.begin(), line.end(), half.begin() + nameLines + (i - 1) * kNameLineWidth);
  }
  return half;
}

}  // namespace qc
