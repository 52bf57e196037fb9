#include "export/nsf_layout.h"

#include <algorithm>

#include "export/nsf_driver_image.h"

namespace qc {

namespace {

constexpr uint8_t kFill = 0xFF;
constexpr int kPageBytes = 256;
constexpr int kEntryBytes = 8;
constexpr int kTableHeaderBytes = 27;  // "V.M.", eleven offsets, the loop point
constexpr int kOffsetsAt = 4;
constexpr int kLoopPointAt = 26;
constexpr int kSampleTableOffset = 2 * kChannels;  // index among the eleven offsets

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void padTo(std::vector<uint8_t>& out, size_t multiple, uint8_t fill) {
  out.resize((out.size() + multiple - 1) / multiple * multiple, fill);
}

std::vector<uint8_t> header(const NsfNames& names, bool ntsc) {
  std::vector<uint8_t> h = {'N', 'E', 'S', 'M', 0x1A, 1, 1, 1};
  put16(h, kNsfLoadAddress);
  put16(h, kNsfInitAddress);
  put16(h, kNsfPlayAddress);
  for (const std::string& name : names) {
    std::string text = name.empty() ? "<?>" : name.substr(0, kNsfNameBytes - 1);
    h.insert(h.end(), text.begin(), text.end());
    h.resize(h.size() + kNsfNameBytes - text.size(), 0);
  }
  put16(h, 16666);  // NTSC play period, microseconds
  // Nonzero bank values switch banking on; bank 0 (the driver) sits at $F000.
  for (char c : std::string("QUILLCH")) h.push_back(uint8_t(c));
  h.push_back(0);
  put16(h, 20000);  // PAL play period
  h.push_back(ntsc ? 0 : 1);
  h.resize(kNsfHeaderBytes, 0);
  return h;
}

// Appends the channel's order list to the table bank, keeping the list and
// its terminator within one page; returns the list's offset.
uint32_t writeOrderList(std::vector<uint8_t>& tables, const std::vector<int>& orders) {
  size_t start = tables.size();
  if (start / kPageBytes != (start + orders.size() + 1) / kPageBytes) padTo(tables, kPageBytes, kFill);
  uint32_t offset = uint32_t(tables.size());
  for (int n : orders) tables.push_back(uint8_t(n));
  tables.push_back(kOrderListEnd);
  padTo(tables, kEntryBytes, kFill);
  return offset;
}

// Places each pool pattern in the stream area (never across a bank end) and
// appends its entry to the table bank.
bool placePatterns(std::vector<uint8_t>& tables, std::vector<uint8_t>& area, const ChannelStreams& channel) {
  for (const StreamPattern& p : channel.pool) {
    size_t used = area.size() % kBankBytes;
    if (p.bytes.size() > size_t(kBankBytes) || p.ticks > kMaxPatternTicks) return false;
    if (used != 0 && kBankBytes - used < p.bytes.size()) padTo(area, kBankBytes, kFill);
    put16(tables, kStreamWindow + area.size() % kBankBytes);
    tables.push_back(uint8_t(kFirstStreamBank + area.size() / kBankBytes));
    put16(tables, uint32_t(p.ticks - 1));
    tables.insert(tables.end(), 3, 0);
    area.insert(area.end(), p.bytes.begin(), p.bytes.end());
  }
  return true;
}

void writeSampleTable(std::vector<uint8_t>& tables, const PreparedSamples& samples, int firstBank) {
  uint32_t mainBanks = uint32_t(samples.main.size() / kBankBytes);
  for (const SampleEntry& e : samples.entries) {
    put16(tables, kSampleWindow + e.mainOffset % kBankBytes);
    tables.push_back(uint8_t(firstBank + e.mainOffset / kBankBytes));
    put16(tables, kSampleWindow + e.tailOffset % kBankBytes);
    tables.push_back(uint8_t(firstBank + e.tailOffset / kBankBytes + mainBanks));
    put16(tables, e.chunks | (e.loop ? 0x8000 : 0));
  }
}

bool withinLimits(const SongStreams& streams) {
  size_t passes = streams.channels[0].orderList.size();
  if (passes == 0 || passes > size_t(kMaxOrderPasses) || streams.loopPoint < 0 ||
      size_t(streams.loopPoint) >= passes)
    return false;
  return std::all_of(streams.channels.begin(), streams.channels.end(), [&](const ChannelStreams& c) {
    return c.pool.size() <= size_t(kMaxStreamPatterns) && c.orderList.size() == passes;
  });
}

}  // namespace

std::optional<std::vector<uint8_t>> buildNsfFile(const SongStreams& streams, const PreparedSamples& samples,
                                                 const NsfNames& names, bool ntsc) {
  if (!withinLimits(streams)) return std::nullopt;
  std::vector<uint8_t> tables = {'V', '.', 'M', '.'};
  tables.resize(kTableHeaderBytes, 0);
  std::array<uint32_t, 2 * kChannels + 1> offsets{};
  std::vector<uint8_t> area;
  for (int c = 0; c < kChannels; c++) {
    offsets[2 * c] = writeOrderList(tables, streams.channels[c].orderList);
    offsets[2 * c + 1] = uint32_t(tables.size());
    if (!placePatterns(tables, area, streams.channels[c])) return std::nullopt;
  }
  padTo(area, kBankBytes, kFill);
  padTo(tables, kEntryBytes, kFill);
  offsets[kSampleTableOffset] = uint32_t(tables.size());
  int firstSampleBank = kFirstStreamBank + int(area.size() / kBankBytes);
  writeSampleTable(tables, samples, firstSampleBank);

  size_t sampleBanks = (samples.main.size() + samples.tail.size() + kBankBytes - 1) / kBankBytes;
  if (tables.size() > size_t(kBankBytes) || firstSampleBank + sampleBanks > size_t(kMaxBank) + 1)
    return std::nullopt;
  tables.resize(kBankBytes, 0);
  for (size_t i = 0; i < offsets.size(); i++) {
    tables[kOffsetsAt + 2 * i] = uint8_t(offsets[i]);
    tables[kOffsetsAt + 2 * i + 1] = uint8_t(offsets[i] >> 8);
  }
  tables[kLoopPointAt] = uint8_t(streams.loopPoint);

  std::vector<uint8_t> file = header(names, ntsc);
  file.insert(file.end(), kNsfDriverImage.begin(), kNsfDriverImage.end());
  for (const std::vector<uint8_t>* part : std::initializer_list<const std::vector<uint8_t>*>{&tables, &area, &samples.main, &samples.tail})
    file.insert(file.end(), part->begin(), part->end());
  return file;
}

}  // namespace qc
