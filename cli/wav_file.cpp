#include "cli/wav_file.h"

#include <algorithm>

bool appendAll(WavFile& wav, const std::vector<int16_t>& samples) {
  for (size_t done = 0; done < samples.size();) {
    const int count = int(std::min<size_t>(kWavMostAppended, samples.size() - done));
    std::copy_n(samples.begin() + long(done), count, wav.next());
    if (!wav.append(count)) return false;
    done += size_t(count);
  }
  return true;
}
