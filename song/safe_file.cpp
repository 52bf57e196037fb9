#include "song/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace qc {

namespace {

// A save over a symbolic link replaces the file it points to, not the link.
std::string resolvedTarget(const std::string& path) {
  struct stat link;
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

constexpr std::string_view kTemporaryMark = ".tmp";

std::string directoryOf(const std::string& target) {
  const std::string parent = std::filesystem::path(target).parent_path().string();
  return parent.empty() ? "." : parent;
}

// TARGET.tmpPID-N files whose process is gone were left by a save that was
// killed part way; nothing else will ever remove them.
void removeStaleTemporaries(const std::string& target) {
  const std::string directory = directoryOf(target);
  const std::string prefix = std::filesystem::path(target).filename().string() + std::string(kTemporaryMark);
  DIR* dir = opendir(directory.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const std::string_view rest = name.substr(prefix.size());
    const size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || rest.find_first_not_of("0123456789-") != std::string_view::npos)
      continue;
    const pid_t pid = pid_t(std::atoi(std::string(rest.substr(0, dash)).c_str()));
    if (pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH)
      unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

// The rename itself survives a power loss only once the directory is synced.
void syncDirectory(const std::string& target) {
  const int fd = open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// 0666 lets the umask decide, as for any file the user creates.
constexpr mode_t kNewFileMode = 0666;

// Beside the target: same directory, so the rename is atomic.
std::string temporaryName(const std::string& target) {
  static std::atomic<unsigned> serial{0};
  return target + std::string(kTemporaryMark) + std::to_string(getpid()) + "-" + std::to_string(serial++);
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
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    // A FIFO, a device or a folder is never replaced by a file.
    errno = S_ISDIR(old.st_mode) ? EISDIR : EEXIST;
    return false;
  }
  removeStaleTemporaries(target);
  std::string tempPath;
  int fd = createUnnamed(target);
  const bool unnamed = fd >= 0;
  if (!unnamed) fd = createTemporary(target, tempPath);
  if (fd < 0) return false;
  if (exists) fchmod(fd, old.st_mode & 07777);

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
  if (ok && std::rename(tempPath.c_str(), target.c_str()) == 0) {
    syncDirectory(target);
    return true;
  }
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

}  // namespace qc
