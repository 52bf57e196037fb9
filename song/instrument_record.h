// One instrument as stored in module and instrument files: nameLength, the
// name, then Volume, Note and Duty/Mode envelopes, each as loop byte, count
// byte and count value bytes (the low bytes of the envelope's slots).
#pragma once

#include <string>

#include "song/byte_reader.h"
#include "song/byte_writer.h"
#include "song/song.h"

namespace qc {

struct InstrumentRecord {
  std::string name;
  Envelope envelopes[kEnvelopeKinds];
};

// Reads one record. Versions 0 and 1 of the module file store Note values
// without the +64 bias; unbiasedNotes adds it. A record that ends early, has
// more than kMaxEnvelopeLength values or a loop beyond its values is
// rejected, with the reason in `why`.
//
// An envelope stored with count 0 becomes a one-value envelope of its kind's
// neutral value (Volume 0, Note 64, Duty/Mode 0), since the editor and the
// player assume at least one value.
bool readInstrumentRecord(ByteReader& in, bool unbiasedNotes, InstrumentRecord& out, std::string& why);

// Writes the record. What the reader would reject is made readable: a name
// longer than 255 bytes is cut, an envelope without a sentinel keeps its
// first kMaxEnvelopeLength values, and the loop is kept within the values.
void putInstrumentRecord(Bytes& out, const std::string& name, const Envelope (&envelopes)[kEnvelopeKinds]);

// Low byte limit of every length field in the files.
inline constexpr size_t kMaxStoredNameLength = 255;
// The largest instrument record: a long name and three envelopes of 255 values.
inline constexpr size_t kMaxInstrumentRecordBytes = 1 + kMaxStoredNameLength + kEnvelopeKinds * (2 + 255);

}  // namespace qc
