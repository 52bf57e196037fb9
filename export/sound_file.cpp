#include "export/sound_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

namespace qc {

namespace {

std::FILE* streamOf(void* user) { return static_cast<std::FILE*>(user); }

sf_count_t streamLength(void* user) {
  std::FILE* stream = streamOf(user);
  struct stat status;
  if (std::fflush(stream) != 0 || fstat(fileno(stream), &status) != 0) return -1;
  return status.st_size;
}

sf_count_t streamSeek(sf_count_t offset, int whence, void* user) {
  if (fseeko(streamOf(user), offset, whence) != 0) return -1;
  return ftello(streamOf(user));
}

sf_count_t streamRead(void* data, sf_count_t count, void* user) {
  return sf_count_t(std::fread(data, 1, size_t(count), streamOf(user)));
}

sf_count_t streamWrite(const void* data, sf_count_t count, void* user) {
  return sf_count_t(std::fwrite(data, 1, size_t(count), streamOf(user)));
}

sf_count_t streamTell(void* user) { return ftello(streamOf(user)); }

SF_VIRTUAL_IO streamIo = {streamLength, streamSeek, streamRead, streamWrite, streamTell};

int formatCode(const SoundFileFormat& format) {
  const int pcm = format.bits == 24 ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_16;
  switch (format.type) {
    case SoundFileType::kWav: return SF_FORMAT_WAV | pcm;
    case SoundFileType::kFlac: return SF_FORMAT_FLAC | pcm;
    case SoundFileType::kOgg: break;
  }
  return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
}

}  // namespace

std::string lowercaseExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return {};
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension;
}

std::optional<SoundFileType> soundFileTypeOf(const std::string& path) {
  const std::string extension = lowercaseExtension(path);
  if (extension == "wav") return SoundFileType::kWav;
  if (extension == "flac") return SoundFileType::kFlac;
  if (extension == "ogg") return SoundFileType::kOgg;
  return std::nullopt;
}

SNDFILE* openSoundStream(std::FILE* stream, const SoundFileFormat& format) {
  SF_INFO info{};
  info.samplerate = format.sampleRate;
  info.channels = 1;
  info.format = formatCode(format);
  return sf_open_virtual(&streamIo, SFM_WRITE, &info, stream);
}

}  // namespace qc
