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

std::string directoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// 0666 lets the umask decide, as for any file the user creates.
constexpr mode_t kNewFileMode = 0666;

// Beside the target: same directory, so the rename is atomic.
std::string temporaryName(const std::string& target) {
  static std::atomic<unsigned> serial{0};
  return target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(serial++);
}

int createTemporary(const std::string& target, std::string& tempPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = temporaryName(target);
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A file without a name until it is complete, so a process killed while
// writing leaves nothing behind; -1 where the file system has no such files.
int createUnnamed(const std::string& target) {
  return open(directoryOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
}

// Gives the unnamed file a temporary name beside the target, for the rename.
bool nameUnnamed(int fd, const std::string& target, std::string& tempPath) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = temporaryName(target);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) break;
  }
  tempPath.clear();
  return false;
}

}  // namespace

bool writeFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& writeContents) {
  const std::string target = resolvedTarget(path);
  std::string tempPath;
  int fd = createUnnamed(target);
  const bool unnamed = fd >= 0;
  if (!unnamed) fd = createTemporary(target, tempPath);
  if (fd < 0) return false;

  struct stat old;
  if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);

  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    close(fd);
    if (!unnamed) unlink(tempPath.c_str());
    errno = error;
    return false;
  }
  errno = 0;
  bool ok = writeContents(file) && std::fflush(file) == 0 && !std::ferror(file) && fsync(fd) == 0 &&
            (!unnamed || nameUnnamed(fd, target, tempPath));
  int error = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && std::rename(tempPath.c_str(), target.c_str()) == 0) return true;
  if (ok) error = errno;
  if (!tempPath.empty()) unlink(tempPath.c_str());
  errno = error != 0 ? error : EIO;
  return false;
}

bool writeFileSafely(const std::string& path, std::span<const uint8_t> bytes) {
  return writeFileSafely(path, [bytes](std::FILE* file) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
}
