// Builds module and instrument files byte by byte, independently of the
// writer, so the tests can make old versions and damaged files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "song/module_file.h"

namespace qc {

using FileBytes = std::vector<uint8_t>;

inline void add(FileBytes& out, std::initializer_list<int> bytes) {
  for (int b : bytes) out.push_back(uint8_t(b));
}

inline void addText(FileBytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// Header up to patternCount; the NTSC byte is added only when ntsc >= 0.
inline FileBytes moduleHeader(int version, int instruments, int orders, int patterns, int ntsc = -1) {
  FileBytes out;
  addText(out, "QuillchanterTune");
  add(out, {version, instruments, orders, patterns});
  if (ntsc >= 0) add(out, {ntsc});
  return out;
}

inline void addEnvelope(FileBytes& out, int loop, std::initializer_list<int> values) {
  add(out, {loop, int(values.size())});
  add(out, values);
}

inline void addInstrument(FileBytes& out, const std::string& name, std::initializer_list<int> volume,
                          std::initializer_list<int> note, std::initializer_list<int> duty) {
  add(out, {int(name.size())});
  addText(out, name);
  addEnvelope(out, 0, volume);
  addEnvelope(out, 0, note);
  addEnvelope(out, 0, duty);
}

// A pattern record of the given number of tracks with one cell set.
inline void addPattern(FileBytes& out, int tracks, int track, int row, int note, int instrumentEffect, int param) {
  const size_t start = out.size();
  out.resize(start + size_t(tracks) * 192, 0);
  uint8_t* cell = &out[start + size_t(track) * 192 + size_t(row) * 3];
  cell[0] = uint8_t(note);
  cell[1] = uint8_t(instrumentEffect);
  cell[2] = uint8_t(param);
}

inline void addEmptySamples(FileBytes& out, int count) { out.insert(out.end(), size_t(count), 0); }

inline FileBytes instrumentHeader() {
  FileBytes out;
  addText(out, "QuillchanterInst");
  out.push_back(0);
  return out;
}

// Loads a file image into the application through the stream reader.
inline bool loadModuleImage(const FileBytes& bytes, ReadReport* report = nullptr) {
  FileBytes copy = bytes;
  copy.push_back(0);  // fmemopen needs a nonempty buffer; the extra byte is skipped
  std::FILE* file = fmemopen(copy.data(), bytes.empty() ? 1 : bytes.size(), "rb");
  if (bytes.empty()) std::fseek(file, 1, SEEK_SET);
  return loadModule(file, report);
}

}  // namespace qc
