#include "export/audio_export.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "playback/player.h"
#include "playback/song_length.h"
#include "playback/stem_buffer.h"
#include "song/safe_file.h"

namespace qc {

namespace {

constexpr int kChunkSamples = 4096;
constexpr const char* kStemNames[kChipChannels] = {"pulse1", "pulse2", "triangle", "noise", "pcm"};

// Plays the song into the open files, one per value of the engine's samples.
bool render(const Song& song, const AudioExportOptions& options, const AudioExportPlan& plan,
            const std::vector<SNDFILE*>& files, const ExportProgress& progress) {
  Engine engine(song.ntsc, options.sampleRate);
  Stem_Buffer stems;
  if (options.stems && useOutput(engine, stems, song.ntsc) != nullptr) return false;
  Player player(song, &engine);
  startSong(player);

  const int width = engine.output->samplesPerFrame;
  std::vector<int16_t> mixed(size_t(kChunkSamples) * width);
  std::vector<int32_t> out(kChunkSamples);
  const int64_t fadeStart = plan.samples - plan.fadeSamples;
  for (int64_t done = 0; done < plan.samples;) {
    const int count = int(std::min<int64_t>(kChunkSamples, plan.samples - done));
    fillAudio(engine, &player, mixed.data(), count);
    for (int f = 0; f < width; ++f) {
      for (int i = 0; i < count; ++i) {
        const int64_t left = plan.samples - 1 - (done + i);  // the last sample is silent
        const double gain = done + i < fadeStart ? 1.0 : double(left) / double(plan.fadeSamples);
        out[i] = int32_t(std::lround(mixed[size_t(i) * width + f] * 65536.0 * gain));
      }
      if (sf_write_int(files[f], out.data(), count) != count) return false;
    }
    done += count;
    if (progress) progress(double(done) / double(plan.samples));
  }
  return true;
}

// Opens the files one inside the other, so each is renamed into place only
// when the render into all of them went well.
bool writeNested(const Song& song, const AudioExportOptions& options, const AudioExportPlan& plan,
                 const std::vector<std::string>& paths, const SoundFileFormat& format,
                 std::vector<SNDFILE*>& files, const ExportProgress& progress) {
  if (files.size() == paths.size()) return render(song, options, plan, files, progress);
  return writeFileSafely(paths[files.size()], [&](std::FILE* stream) {
    SNDFILE* file = openSoundStream(stream, format);
    if (!file) return false;
    files.push_back(file);
    bool ok = writeNested(song, options, plan, paths, format, files, progress);
    files.pop_back();
    return sf_close(file) == 0 && ok;
  });
}

}  // namespace

AudioExportPlan planAudioExport(const Song& song, const AudioExportOptions& options) {
  AudioExportPlan plan;
  const double rate = options.sampleRate;
  if (options.seconds > 0) {
    plan.samples = std::llround(options.seconds * rate);
    plan.fadeSamples = std::min<int64_t>(plan.samples, std::llround(options.fadeSeconds * rate));
    return plan;
  }
  const SongSpan span = ticksThroughLoops(song, options.loops, renderCapTicks(song.ntsc));
  plan.looped = span.looped;
  plan.stalled = span.stalled;
  plan.fadeSamples = std::llround(options.fadeSeconds * rate);
  plan.samples = samplesForTicks(span.ticks, song.ntsc, options.sampleRate) + plan.fadeSamples;
  return plan;
}

std::vector<std::string> audioExportPaths(const std::string& path, bool stems) {
  if (!stems) return {path};
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string name = hasExtension ? path.substr(0, dot) : path;
  const std::string extension = hasExtension ? path.substr(dot) : "";
  std::vector<std::string> paths;
  for (const char* stem : kStemNames) paths.push_back(name + "-" + stem + extension);
  return paths;
}

bool exportAudio(const Song& song, const std::string& path, const AudioExportOptions& options,
                 const AudioExportPlan& plan, const ExportProgress& progress) {
  const std::optional<SoundFileType> type = soundFileTypeOf(path);
  if (!type) {
    errno = EINVAL;
    return false;
  }
  const SoundFileFormat format{*type, options.sampleRate, options.bits};
  std::vector<SNDFILE*> files;
  return writeNested(song, options, plan, audioExportPaths(path, options.stems), format, files, progress);
}

}  // namespace qc
