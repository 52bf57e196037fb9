#include "song/byte_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qc {

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

std::FILE* openRegularFile(const std::string& path, ReadReport* report) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info;
  int problem = fd < 0 || fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
  const bool regular = problem == 0 && S_ISREG(info.st_mode);
  std::FILE* file = regular && fcntl(fd, F_SETFL, 0) == 0 ? fdopen(fd, "rb") : nullptr;
  if (file) return file;
  if (regular) problem = errno;
  if (fd >= 0) close(fd);
  if (report) report->openError = problem;
  reject(report, problem == 0 ? ReadProblem::kNotAFile : ReadProblem::kCannotOpen);
  return nullptr;
}

bool readWholeStream(std::FILE* file, std::vector<uint8_t>& out, std::string_view magic, size_t maxBytes) {
  out.resize(magic.size());
  out.resize(std::fread(out.data(), 1, magic.size(), file));
  if (!std::equal(out.begin(), out.end(), magic.begin(), magic.end())) return !std::ferror(file);
  uint8_t chunk[65536];
  size_t got;
  while (out.size() <= maxBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    out.insert(out.end(), chunk, chunk + std::min(got, maxBytes + 1 - out.size()));
  return !std::ferror(file);
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, ReadReport* report, std::string_view magic,
                   size_t maxBytes) {
  std::FILE* file = openRegularFile(path, report);
  if (!file) return false;
  const bool readOk = readWholeStream(file, out, magic, maxBytes);
  std::fclose(file);
  if (!readOk) {
    if (report) report->openError = EIO;
    return reject(report, ReadProblem::kCannotOpen);
  }
  return true;
}

}  // namespace qc
