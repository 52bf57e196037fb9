#include "song/module_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "editor/live_player.h"
#include "song/app_state.h"
#include "song/instrument_record.h"
#include "song/safe_file.h"
#include "song/shell_services.h"

namespace qc {

namespace {

constexpr std::string_view kMagic = "QuillchanterTune";  // no terminator in the file
constexpr int kFirstNtscVersion = 4;
constexpr int kFirstSampleVersion = 1;
constexpr int kFirstBiasedVersion = 2;
constexpr int kFirstLongLengthVersion = 3;
constexpr size_t kTrackBytes = kRows * sizeof(Cell);  // 192
constexpr size_t kHeaderBytes = 21;
constexpr size_t kSampleRecordHead = 1 + kMaxStoredNameLength + 4 + 1;
// Reading stops past this: a stream that never ends is rejected, not swallowed.
constexpr size_t kMaxModuleBytes = kHeaderBytes + (kInstrumentSlots - 1) * kMaxInstrumentRecordBytes + kMaxOrders +
                                   kPatterns * sizeof(Pattern) + (kSampleSlots - 1) * (kSampleRecordHead + kMaxSampleLength);

std::string slotText(const char* what, int slot) { return std::string(what) + " " + std::to_string(slot); }

bool readHeader(ByteReader& in, ParsedModule& out, int& orderCount, int& patternCount, ReadReport* report) {
  std::span<const uint8_t> magic;
  if (!in.take(kMagic.size(), magic) || !std::equal(magic.begin(), magic.end(), kMagic.begin()))
    return reject(report, ReadProblem::kWrongMagic, "a module");
  uint8_t version, instruments, orders, patterns;
  if (!in.byte(version)) return reject(report, ReadProblem::kDamaged, "header: file ends early");
  if (version > kModuleVersion) return reject(report, ReadProblem::kUnsupportedVersion, std::to_string(version));
  if (!in.byte(instruments) || !in.byte(orders) || !in.byte(patterns))
    return reject(report, ReadProblem::kDamaged, "header: file ends early");
  if (instruments == 0 || instruments >= kInstrumentSlots)
    return reject(report, ReadProblem::kDamaged,
                  "header: " + std::to_string(instruments) + " instruments (1 to 15 allowed)");
  if (orders == 0 || orders > kMaxOrders)
    return reject(report, ReadProblem::kDamaged, "header: " + std::to_string(orders) + " orders (1 to 64 allowed)");
  if (patterns > kPatterns)
    return reject(report, ReadProblem::kDamaged, "header: " + std::to_string(patterns) + " patterns (at most 32)");
  uint8_t ntsc = 0;
  if (version >= kFirstNtscVersion && !in.byte(ntsc))
    return reject(report, ReadProblem::kDamaged, "header: file ends early");
  out.version = version;
  out.instrumentCount = instruments;
  out.song->ntsc = ntsc != 0;
  orderCount = orders;
  patternCount = patterns;
  return true;
}

// A record with a name but no data bytes counts as an empty slot. Empty
// `why` when it is read, else what is wrong.
void readSample(ByteReader& in, int version, RawSample& out, std::string& why) {
  why = "file ends early";
  uint8_t nameLength, loop;
  if (!in.byte(nameLength)) return;
  if (nameLength == 0) return why.clear();
  std::span<const uint8_t> name, data;
  uint32_t length;
  if (!in.take(nameLength, name)) return;
  const bool lengthRead = version >= kFirstLongLengthVersion ? in.u32(length) : in.u16(length);
  if (lengthRead && length > kMaxSampleLength) {
    why = std::to_string(length) + " levels (at most " + std::to_string(kMaxSampleLength) + ")";
    return;
  }
  if (!lengthRead || !in.byte(loop) || !in.take(length, data)) return;
  why.clear();
  if (length == 0) return;
  out.name.assign(name.begin(), name.end());
  out.data.assign(data.begin(), data.end());
  out.loop = loop != 0;
}

bool readBody(ByteReader& in, ParsedModule& out, int orderCount, int patternCount, ReadReport* report) {
  Song& song = *out.song;
  for (auto& slot : song.envelopes)
    for (Envelope& envelope : slot) setEnvelope(envelope, {0});

  const bool unbiasedNotes = out.version < kFirstBiasedVersion;
  for (int slot = 1; slot <= out.instrumentCount; ++slot) {
    InstrumentRecord record;
    std::string why;
    if (!readInstrumentRecord(in, unbiasedNotes, record, why))
      return reject(report, ReadProblem::kDamaged, slotText("instrument", slot) + ": " + why);
    song.instrumentNames[slot] = std::move(record.name);
    std::copy(std::begin(record.envelopes), std::end(record.envelopes), song.envelopes[slot]);
  }

  std::span<const uint8_t> orders;
  if (!in.take(size_t(orderCount), orders)) return reject(report, ReadProblem::kDamaged, "order list: file ends early");
  for (int i = 0; i < orderCount; ++i) {
    if (orders[i] >= kPatterns)
      return reject(report, ReadProblem::kDamaged,
                    slotText("order", i) + ": pattern " + std::to_string(orders[i]) + " (at most 31)");
    song.orders[i] = orders[i];
  }
  song.orderCount = orderCount;

  const int tracks = out.version >= kFirstSampleVersion ? kChannels : kToneChannels;
  for (int p = 0; p < patternCount; ++p) {
    std::span<const uint8_t> bytes;
    if (!in.take(tracks * kTrackBytes, bytes))
      return reject(report, ReadProblem::kDamaged, slotText("pattern", p) + ": file ends early");
    std::memcpy(&song.patterns[p].cells[0][0], bytes.data(), bytes.size());
  }

  if (out.version >= kFirstSampleVersion) {
    std::string why;
    for (int slot = 1; slot < kSampleSlots; ++slot) {
      readSample(in, out.version, song.samples[slot], why);
      if (!why.empty()) return reject(report, ReadProblem::kDamaged, slotText("sample", slot) + ": " + why);
    }
  }
  return true;
}

// Swaps the parsed song in; the old one is left in `parsed`, for the caller
// to keep or to free outside the lock.
void installModule(ParsedModule& parsed) {
  Song& fresh = *parsed.song;
  AudioLock lock;
  for (int slot = 0; slot < kInstrumentSlots; ++slot)
    if (slot == 0 || slot > parsed.instrumentCount) fresh.instrumentNames[slot] = app.song.instrumentNames[slot];
  std::swap(app.song, fresh);

  EditorState& e = app.editor;
  e.cursorRow = e.cursorChannel = e.cursorColumn = e.orderCursor = 0;
  e.selectedEnvelope = 0;
  e.envelopeCursor.fill(0);
  const bool currentWasRead = e.currentInstrument >= 1 && e.currentInstrument <= parsed.instrumentCount;
  e.nameCursor = currentWasRead ? int32_t(app.song.instrumentNames[e.currentInstrument].size()) : 0;
  rewindForNewSong();
}

}  // namespace

bool parseModule(std::span<const uint8_t> bytes, ParsedModule& out, ReadReport* report) {
  out.song = std::make_unique<Song>();
  if (bytes.size() > kMaxModuleBytes) return reject(report, ReadProblem::kDamaged, "the end: longer than any module");
  ByteReader in(bytes);
  int orderCount = 0, patternCount = 0;
  return readHeader(in, out, orderCount, patternCount, report) && readBody(in, out, orderCount, patternCount, report);
}

bool loadModule(std::FILE* file, ReadReport* report, std::unique_ptr<Song>* previous) {
  haltForLoad();
  if (!file) return reject(report, ReadProblem::kCannotOpen);
  std::vector<uint8_t> bytes;
  const bool readOk = readWholeStream(file, bytes, kMagic, kMaxModuleBytes);
  std::fclose(file);
  if (!readOk) {
    if (report) report->openError = EIO;
    return reject(report, ReadProblem::kCannotOpen);
  }
  ParsedModule parsed;
  if (!parseModule(bytes, parsed, report)) return false;
  installModule(parsed);
  if (previous) *previous = std::move(parsed.song);
  return true;
}

bool loadModuleFile(const std::string& path, ReadReport* report, std::unique_ptr<Song>* previous) {
  std::FILE* file = openRegularFile(path, report);
  return file && loadModule(file, report, previous);
}

bool readModuleFile(const std::string& path, ParsedModule& out, ReadReport* report) {
  std::vector<uint8_t> bytes;
  return readWholeFile(path, bytes, report, kMagic, kMaxModuleBytes) && parseModule(bytes, out, report);
}

Bytes encodeModule(const Song& song) {
  Bytes out;
  const int patternCount = usedPatternCount(song);
  putText(out, kMagic);
  putByte(out, kModuleVersion);
  putByte(out, kInstrumentSlots - 1);
  putByte(out, uint32_t(song.orderCount));
  putByte(out, uint32_t(patternCount));
  putByte(out, song.ntsc ? 1 : 0);

  for (int slot = 1; slot < kInstrumentSlots; ++slot)
    putInstrumentRecord(out, song.instrumentNames[slot], song.envelopes[slot]);
  for (int i = 0; i < song.orderCount; ++i) putByte(out, uint32_t(song.orders[i]));
  const auto* patternBytes = reinterpret_cast<const uint8_t*>(song.patterns.data());
  out.insert(out.end(), patternBytes, patternBytes + patternCount * sizeof(Pattern));

  for (int slot = 1; slot < kSampleSlots; ++slot) {
    const RawSample& sample = song.samples[slot];
    if (!sample.holdsData()) {
      putByte(out, 0);
      continue;
    }
    std::string name = sample.name.substr(0, kMaxStoredNameLength);
    if (name.empty()) {
      char fallback[16];
      std::snprintf(fallback, sizeof fallback, "Sample 0x%02x", slot);
      name = fallback;
    }
    putByte(out, uint32_t(name.size()));
    putText(out, name);
    putU32(out, sample.length());
    putByte(out, sample.loop ? 1 : 0);
    out.insert(out.end(), sample.data.begin(), sample.data.end());
  }
  return out;
}

bool saveModule(const std::string& path) { return writeFileSafely(path, encodeModule(app.song)); }

}  // namespace qc
