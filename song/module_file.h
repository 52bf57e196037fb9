// The module file (.qcm, magic "QuillchanterTune"): the whole song.
//
// Header: 16-byte magic, version (0..4, written as 4), instrumentCount,
// orderCount, patternCount, and from version 4 an NTSC byte. Then the
// instrument records of slots 1.., the order list, the patterns (960 bytes
// each as in memory; 768 bytes in version 0, which had no PCM track) and,
// from version 1, 255 sample records (nameLength, name, length as 16 bits
// below version 3 else 32, loop byte, data; nameLength 0 = empty slot).
// Note envelope values are stored without the +64 bias below version 2.
//
// Reading trusts nothing: a file that ends early or exceeds the model (more
// than 15 instruments, 64 orders or 32 patterns, a pattern number above 31,
// a bad envelope) is rejected whole, and the song stays as it was.
#pragma once

#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "song/byte_writer.h"
#include "song/read_report.h"
#include "song/song.h"

namespace qc {

inline constexpr int kModuleVersion = 4;

struct ParsedModule {
  std::unique_ptr<Song> song;  // instrument names beyond instrumentCount are empty
  int version = 0;
  int instrumentCount = 0;
};

// Parses a whole file image without touching the application state.
bool parseModule(std::span<const uint8_t> bytes, ParsedModule& out, ReadReport* report = nullptr);
// Reads and parses the file at path, again leaving the application alone.
bool readModuleFile(const std::string& path, ParsedModule& out, ReadReport* report = nullptr);

// Stops playback (even if the file is then rejected), reads the stream to its
// end and closes it. On success the song is replaced under the audio lock:
// instrument slots beyond the file's count get Volume {0}, Note {0},
// Duty/Mode {0} and keep their names; cursors, play position, speed 6 and
// tempo 125 are reset and the chip clock is asked to follow `ntsc`. The
// caller then resets the player. On failure the song is untouched.
// The replaced song goes to `previous` when it is given.
bool loadModule(std::FILE* file, ReadReport* report = nullptr, std::unique_ptr<Song>* previous = nullptr);
// Opens the path for reading (a regular file only) and calls loadModule. A
// path that does not open is reported and, since nothing was loaded,
// playback goes on.
bool loadModuleFile(const std::string& path, ReadReport* report = nullptr, std::unique_ptr<Song>* previous = nullptr);

// The version-4 file image of a song. A sample that holds data but has no
// name is stored under the name "Sample 0xNN", which reads back as a sample.
Bytes encodeModule(const Song& song);
// Writes app.song through writeFileSafely: false leaves any old file intact.
bool saveModule(const std::string& path);

}  // namespace qc
