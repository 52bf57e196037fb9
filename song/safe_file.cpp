#include "song/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// A save over a symbolic link replaces the file it points to, not the link.
std::string resolvedTarget(const std::string& path) {
  struct stat link;
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// Opens a new file beside the target: same directory, so the rename is atomic.
int createTemporary(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    // 0666 lets the umask decide, as for any file the user creates.
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool writeFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& writeContents) {
  const std::string target = resolvedTarget(path);
  std::string tempPath;
  const int fd = createTemporary(target, tempPath);
  if (fd < 0) return false;

  struct stat old;
  if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);

  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    close(fd);
    unlink(tempPath.c_str());
    errno = error;
    return false;
  }
  errno = 0;
  bool ok = writeContents(file) && std::fflush(file) == 0 && !std::ferror(file) && fsync(fd) == 0;
  int error = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && std::rename(tempPath.c_str(), target.c_str()) == 0) return true;
  if (ok) error = errno;
  unlink(tempPath.c_str());
  errno = error != 0 ? error : EIO;
  return false;
}

bool writeFileSafely(const std::string& path, std::span<const uint8_t> bytes) {
  return writeFileSafely(path, [bytes](std::FILE* file) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
}
