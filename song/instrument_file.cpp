#include "song/instrument_file.h"

#include <algorithm>
#include <cstring>

#include "song/app_state.h"
#include "song/instrument_record.h"
#include "song/safe_file.h"
#include "song/shell_services.h"

namespace qc {

namespace {

// The magic is stored with its string terminator: 17 bytes.
constexpr char kMagic[] = "QuillchanterInst";
constexpr size_t kHeaderLength = sizeof kMagic;

}  // namespace

bool loadInstrumentBytes(std::span<const uint8_t> bytes, ReadReport* report) {
  const int slot = app.editor.currentInstrument;
  if (slot == 0) return false;
  ByteReader in(bytes);
  std::span<const uint8_t> header;
  if (!in.take(kHeaderLength, header) || std::memcmp(header.data(), kMagic, kHeaderLength) != 0)
    return reject(report, ReadProblem::kWrongMagic, "an instrument file");
  InstrumentRecord record;
  std::string why;
  if (!readInstrumentRecord(in, false, record, why))
    return reject(report, ReadProblem::kDamaged, "instrument: " + why);

  AudioLock lock;
  app.song.instrumentNames[slot] = std::move(record.name);
  std::copy(std::begin(record.envelopes), std::end(record.envelopes), app.song.envelopes[slot]);
  app.editor.nameCursor = int32_t(app.song.instrumentNames[slot].size());
  for (int kind = 0; kind < kEnvelopeKinds; ++kind) {
    const int length = envelopeLength(app.song.envelopes[slot][kind]);
    app.editor.envelopeCursor[kind] = std::min(app.editor.envelopeCursor[kind], length - 1);
  }
  return true;
}

bool loadInstrument(const std::string& path, ReadReport* report) {
  if (app.editor.currentInstrument == 0) return false;
  std::vector<uint8_t> bytes;
  return readWholeFile(path, bytes, report, std::string_view(kMagic, kHeaderLength),
                       kHeaderLength + kMaxInstrumentRecordBytes) &&
         loadInstrumentBytes(bytes, report);
}

Bytes encodeInstrument(const Song& song, int slot) {
  Bytes out(kMagic, kMagic + kHeaderLength);
  putInstrumentRecord(out, song.instrumentNames[slot], song.envelopes[slot]);
  return out;
}

bool saveInstrument(const std::string& path) {
  if (app.editor.currentInstrument == 0) return false;
  return writeFileSafely(path, encodeInstrument(app.song, app.editor.currentInstrument));
}

}  // namespace qc
