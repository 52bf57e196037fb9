#include "song/byte_reader.h"

#include <algorithm>
#include <cerrno>

bool ByteReader::byte(uint8_t& out) {
  if (remaining() < 1) return false;
  out = bytes_[pos_++];
  return true;
}

bool ByteReader::u16(uint32_t& out) {
  if (remaining() < 2) return false;
  out = uint32_t(bytes_[pos_]) | uint32_t(bytes_[pos_ + 1]) << 8;
  pos_ += 2;
  return true;
}

bool ByteReader::u32(uint32_t& out) {
  if (remaining() < 4) return false;
  out = uint32_t(bytes_[pos_]) | uint32_t(bytes_[pos_ + 1]) << 8 | uint32_t(bytes_[pos_ + 2]) << 16 |
        uint32_t(bytes_[pos_ + 3]) << 24;
  pos_ += 4;
  return true;
}

bool ByteReader::take(size_t n, std::span<const uint8_t>& out) {
  if (remaining() < n) return false;
  out = bytes_.subspan(pos_, n);
  pos_ += n;
  return true;
}

bool readWholeStream(std::FILE* file, std::vector<uint8_t>& out, std::string_view magic) {
  out.resize(magic.size());
  out.resize(std::fread(out.data(), 1, magic.size(), file));
  if (!std::equal(out.begin(), out.end(), magic.begin(), magic.end())) return !std::ferror(file);
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) out.insert(out.end(), chunk, chunk + got);
  return !std::ferror(file);
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, ReadReport* report, std::string_view magic) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    if (report) report->openError = errno;
    return reject(report, ReadProblem::kCannotOpen);
  }
  const bool readOk = readWholeStream(file, out, magic);
  std::fclose(file);
  if (!readOk) {
    if (report) report->openError = EIO;
    return reject(report, ReadProblem::kCannotOpen);
  }
  return true;
}
