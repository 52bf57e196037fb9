#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "fuzz/reader_harness.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "song/module_file.h"
#include "tests/module_bytes.h"
#include "tests/recording_files.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

std::vector<FileBytes> seeds() {
  Song song;
  writeProgramStartInstruments(song);
  song.orderCount = 3;
  song.orders[2] = 1;
  song.patterns[1].cells[4][2] = Cell{3, 0x21, 0x10};
  song.instrumentNames[2] = "lead";
  setEnvelope(song.envelopes[2][kNoteEnvelope], {64, 67, 71}, 1);
  song.samples[3] = RawSample{{64, 80, 96, 80}, true, "tiny"};
  song.samples[200] = RawSample{{1}, false, "one"};

  FileBytes old = moduleHeader(0, 2, 1, 1);
  addInstrument(old, "v0", {15, 10}, {0, 12}, {1});
  addInstrument(old, "", {3}, {5}, {2});
  add(old, {0});
  addPattern(old, 4, 3, 5, 12, 0x11, 0x22);

  FileBytes v1 = moduleHeader(1, 1, 2, 0);
  addInstrument(v1, "x", {1}, {2}, {3});
  add(v1, {0, 0});
  add(v1, {1, 'k', 2, 0, 1, 5, 6});
  addEmptySamples(v1, 254);

  TempDir dir;
  std::vector<FileBytes> files{encodeModule(song), old, v1, encodeInstrument(song, 2)};
  const std::vector<double> levels{0.0, std::nan(""), 1.0, -0.5, 0.25, -1.0};
  for (const int format : {kFloatWav, kFlac}) {
    writeRecording(dir.file("r"), format, 22050, 2, levels);
    files.push_back(readFile(dir.file("r")));
  }
  return files;
}

// Truncations, byte flips, boundary bytes, inflated counts and splices of
// valid files, from a fixed seed so every run checks the same inputs.
FileBytes mutate(const FileBytes& seed, std::mt19937& rng) {
  FileBytes f = seed;
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  switch (pick(6)) {
    case 0:
      f.resize(pick(f.size() + 1));
      break;
    case 1:
      for (size_t n = 1 + pick(4); n > 0; --n) f[pick(f.size())] ^= uint8_t(1u << pick(8));
      break;
    case 2: {
      const uint8_t boundary[] = {0, 1, 15, 16, 31, 32, 63, 64, 65, 83, 84, 127, 128, 255};
      f[pick(f.size())] = boundary[pick(sizeof boundary)];
      break;
    }
    case 3: {
      // The header counts and the first instrument's, then any byte.
      const size_t counts[] = {16, 17, 18, 19, 20, 21, 22, 23};
      const size_t at = pick(2) ? counts[pick(8)] : pick(f.size());
      if (at < f.size()) f[at] = uint8_t(f[at] + 1 + pick(3));
      break;
    }
    case 4: {
      const size_t at = pick(f.size()), length = pick(64);
      f.erase(f.begin() + long(at), f.begin() + long(std::min(f.size(), at + length)));
      break;
    }
    default: {
      const size_t at = pick(f.size() + 1);
      for (size_t n = pick(32); n > 0; --n) f.insert(f.begin() + long(at), uint8_t(rng()));
      break;
    }
  }
  return f;
}

TEST(ReaderFuzz, MutatedFilesNeverCrashAndAcceptedOnesRoundTrip) {
  const std::vector<FileBytes> valid = seeds();
  for (const FileBytes& f : valid) runReaderHarness(f.data(), f.size());
  std::mt19937 rng(20240601);
  for (int i = 0; i < 2000; ++i) {
    const FileBytes f = mutate(valid[size_t(i) % valid.size()], rng);
    runReaderHarness(f.data(), f.size());
  }
  resetToProgramStart();
}

}  // namespace

}  // namespace qc
