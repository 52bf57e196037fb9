// Audio files through libsndfile, written into a stream that the safe writer
// opened: the type comes from the file name's extension.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace qc {

enum class SoundFileType { kWav, kFlac, kOgg };

// The file name's extension in lower case, without the dot; empty when it has none.
std::string lowercaseExtension(const std::string& path);

// .wav, .flac or .ogg, in any letter case; nothing for any other name.
std::optional<SoundFileType> soundFileTypeOf(const std::string& path);

struct SoundFileFormat {
  SoundFileType type = SoundFileType::kWav;
  int32_t sampleRate = 44100;
  int bits = 16;  // 16 or 24; Ogg Vorbis has no sample size
};

// A mono file on the stream, or nullptr. The caller sf_closes it before the
// stream is closed.
SNDFILE* openSoundStream(std::FILE* stream, const SoundFileFormat& format);

}  // namespace qc
