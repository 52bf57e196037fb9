// Little-endian reading from a buffer that may end at any byte: every read
// says whether the bytes were there, so a short file is never read past.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "song/read_report.h"

namespace qc {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t remaining() const { return bytes_.size() - pos_; }
  bool byte(uint8_t& out);
  bool u16(uint32_t& out);
  bool u32(uint32_t& out);
  // The next n bytes as a view into the buffer.
  bool take(size_t n, std::span<const uint8_t>& out);

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// Opens a regular file for reading. A FIFO or a device is refused before it
// can block (kNotAFile), a folder with EISDIR; null with the report filled.
std::FILE* openRegularFile(const std::string& path, ReadReport* report);

// Reads a stream to its end, or to maxBytes + 1 so that the caller sees it
// was too long; false on a read error. When the stream does not start with
// `magic`, reading stops there, so a large file of another kind (a video
// dropped on the window) is never read whole.
bool readWholeStream(std::FILE* file, std::vector<uint8_t>& out, std::string_view magic, size_t maxBytes);
// The same for a file; false with kCannotOpen in the report when it cannot.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, ReadReport* report, std::string_view magic,
                   size_t maxBytes);

}  // namespace qc
