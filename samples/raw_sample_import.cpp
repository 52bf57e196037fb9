#include "samples/raw_sample_import.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include <unistd.h>

#include "song/app_state.h"
#include "song/byte_reader.h"
#include "song/shell_services.h"

namespace qc {

namespace {

// Frames decoded per read: the recording is never held whole in memory.
constexpr int64_t kReadFrames = 4096;

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

// Point-samples `frames` interleaved frames at `sampleRate` Hz. For each
// level the frame at trunc(p) is taken, p being a running sum of
// sampleRate / 7801; values are clamped to -1..1 before the mix.
class LevelResampler {
 public:
  LevelResampler(double sampleRate, int channels, int64_t frames);
  // Number of levels the whole recording gives.
  uint64_t length() const { return length_; }
  // Feeds the next frames in order; frames beyond the count are ignored.
  void feed(std::span<const double> items);
  std::vector<uint8_t>& levels() { return levels_; }

 private:
  double step_;
  int channels_;
  uint64_t length_;
  double position_ = 0.0;
  int64_t nextFrame_ = 0;
  std::vector<uint8_t> levels_;
};

LevelResampler::LevelResampler(double sampleRate, int channels, int64_t frames)
    : step_(sampleRate / kRawSampleRate),
      channels_(channels),
      // Capped just past the limit, so a header's wild frame count still converts.
      length_(uint64_t(std::min(std::trunc(double(frames) / step_), double(kMaxSampleLength) + 1))) {}

void LevelResampler::feed(std::span<const double> items) {
  for (size_t first = 0; first + size_t(channels_) <= items.size(); first += size_t(channels_), ++nextFrame_) {
    if (levels_.size() >= length_) return;
    if (int64_t(position_) > nextFrame_) continue;
    double sum = 0.0;
    for (int c = 0; c < channels_; ++c) sum += validLevelValue(items[first + size_t(c)]);
    const uint8_t level = uint8_t(int(sum / channels_ * kLevelScale + kLevelCentre));
    // Below 7801 Hz one frame gives several levels.
    while (levels_.size() < length_ && int64_t(position_) <= nextFrame_) {
      levels_.push_back(level);
      position_ += step_;
    }
  }
}

}  // namespace

double validLevelValue(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, -1.0, 1.0); }

std::string sampleNameFromPath(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool importRawSample(const std::string& path) {
  if (app.editor.currentSample <= 0 || app.editor.currentSample >= kSampleSlots) return false;
  std::FILE* stream = openRegularFile(path, nullptr);
  if (!stream) return false;
  SF_INFO info{};
  // libsndfile closes its own copy of the descriptor with the handle.
  std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open_fd(dup(fileno(stream)), SFM_READ, &info, SF_TRUE));
  std::fclose(stream);
  return file && importOpenRecording(file.get(), info, sampleNameFromPath(path));
}

bool importOpenRecording(SNDFILE* file, const SF_INFO& info, const std::string& name) {
  const int slotIndex = app.editor.currentSample;
  if (slotIndex <= 0 || slotIndex >= kSampleSlots) return false;
  if (info.samplerate <= 0 || info.channels <= 0 || info.frames < 0) return false;
  sf_command(file, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);

  // Refused before anything is allocated: a header may claim any length.
  LevelResampler resampler(info.samplerate, info.channels, info.frames);
  if (resampler.length() > kMaxSampleLength) return false;
  std::vector<double> items(size_t(kReadFrames * info.channels));
  for (int64_t done = 0; done < info.frames;) {
    const sf_count_t wanted = std::min(kReadFrames, info.frames - done);
    const sf_count_t got = sf_readf_double(file, items.data(), wanted);
    if (got <= 0) break;
    resampler.feed(std::span(items.data(), size_t(got * info.channels)));
    done += got;
  }
  // Frames the decoder did not deliver count as silence.
  std::vector<uint8_t>& levels = resampler.levels();
  levels.resize(size_t(resampler.length()), uint8_t(kLevelCentre));

  AudioLock lock;
  RawSample& slot = app.song.samples[size_t(slotIndex)];
  slot.data.swap(levels);
  slot.loop = false;
  slot.name = name;
  return true;
}

}  // namespace qc
