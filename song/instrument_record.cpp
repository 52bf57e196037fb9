#include "song/instrument_record.h"

#include <algorithm>

namespace qc {

namespace {

constexpr int kNoteBias = 64;  // Note value that leaves the played note unchanged
constexpr int32_t kNeutralValue[kEnvelopeKinds] = {0, kNoteBias, 0};
constexpr const char* kKindNames[kEnvelopeKinds] = {"Volume", "Note", "Duty/Mode"};

bool readEnvelope(ByteReader& in, int kind, bool unbiasedNotes, Envelope& out, std::string& why) {
  uint8_t loop, count;
  std::span<const uint8_t> values;
  if (!in.byte(loop) || !in.byte(count) || !in.take(count, values)) {
    why = std::string(kKindNames[kind]) + " envelope: file ends early";
    return false;
  }
  if (count > kMaxEnvelopeLength) {
    why = std::string(kKindNames[kind]) + " envelope of " + std::to_string(count) + " values (at most " +
          std::to_string(kMaxEnvelopeLength) + ")";
    return false;
  }
  if (loop >= std::max<int>(count, 1)) {
    why = std::string(kKindNames[kind]) + " envelope loops at " + std::to_string(loop) + " of " +
          std::to_string(count) + " values";
    return false;
  }
  // Old files stored Note offsets as signed bytes (-12 as 244): biasing
  // modulo 256 makes that 52, and no value can become the sentinel.
  const int bias = unbiasedNotes && kind == kNoteEnvelope ? kNoteBias : 0;
  out.loop = loop;
  for (int i = 0; i < count; ++i) out.values[i] = (values[i] + bias) & 0xFF;
  out.values[count] = kEnvelopeEnd;
  if (count == 0) {
    out.values[0] = kNeutralValue[kind];
    out.values[1] = kEnvelopeEnd;
  }
  return true;
}

}  // namespace

bool readInstrumentRecord(ByteReader& in, bool unbiasedNotes, InstrumentRecord& out, std::string& why) {
  uint8_t nameLength;
  std::span<const uint8_t> name;
  if (!in.byte(nameLength) || !in.take(nameLength, name)) {
    why = "name: file ends early";
    return false;
  }
  out.name.assign(name.begin(), name.end());
  for (int kind = 0; kind < kEnvelopeKinds; ++kind)
    if (!readEnvelope(in, kind, unbiasedNotes, out.envelopes[kind], why)) return false;
  return true;
}

void putInstrumentRecord(Bytes& out, const std::string& name, const Envelope (&envelopes)[kEnvelopeKinds]) {
  const size_t nameLength = std::min(name.size(), kMaxStoredNameLength);
  putByte(out, uint32_t(nameLength));
  putText(out, std::string_view(name).substr(0, nameLength));
  for (const Envelope& envelope : envelopes) {
    int count = envelopeLength(envelope);
    if (count < 0) count = kMaxEnvelopeLength;
    count = std::min(count, kMaxEnvelopeLength);
    putByte(out, uint32_t(std::clamp<int32_t>(envelope.loop, 0, std::max(count - 1, 0))));
    putByte(out, uint32_t(count));
    for (int i = 0; i < count; ++i) putByte(out, uint32_t(envelope.values[i]));
  }
}

}  // namespace qc
