// The instrument file (.qci): the 16 bytes "QuillchanterInst", a 0 byte,
// then one instrument record exactly as in the module file, Note values
// always biased. It loads into and saves from `currentInstrument`.
#pragma once

#include <span>
#include <string>

#include "song/byte_writer.h"
#include "song/read_report.h"
#include "song/song.h"

namespace qc {

// Replaces the name and envelopes of `currentInstrument` under the audio
// lock, puts `nameCursor` at the end of the new name and pulls envelope
// cursors back inside shorter envelopes. False, without opening anything,
// when `currentInstrument` is 0; false with the slot untouched when the file
// is rejected. Playback goes on.
bool loadInstrument(const std::string& path, ReadReport* report = nullptr);
// The same from a file image in memory.
bool loadInstrumentBytes(std::span<const uint8_t> bytes, ReadReport* report = nullptr);

Bytes encodeInstrument(const Song& song, int slot);
// Writes `currentInstrument` through writeFileSafely; false when it is 0.
bool saveInstrument(const std::string& path);

}  // namespace qc
