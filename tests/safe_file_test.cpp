#include "song/safe_file.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/temp_dir.h"

namespace qc {

namespace {

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

size_t entriesIn(const std::string& dir) {
  return size_t(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()));
}

TEST(SafeFile, ReplacesTheTargetKeepingItsPermissionsAndThroughASymlinkTheFileItPointsTo) {
  TempDir dir;
  writeFile(dir.file("t"), kOld);
  chmod(dir.file("t").c_str(), 0640);
  ASSERT_TRUE(writeFileSafely(dir.file("t"), std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(readFile(dir.file("t")), (std::vector<uint8_t>{1, 2, 3, 4}));
  struct stat st;
  ASSERT_EQ(stat(dir.file("t").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(entriesIn(dir.path()), 1u);

  std::filesystem::create_symlink(dir.file("t"), dir.file("link"));
  ASSERT_TRUE(writeFileSafely(dir.file("link"), std::vector<uint8_t>{7}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
  EXPECT_EQ(readFile(dir.file("t")), (std::vector<uint8_t>{7}));
}

// A file size limit makes the flush fail part way, as a full disk does; the
// child that runs under it must report failure.
TEST(SafeFile, FailedOrShortWriteLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string target = dir.file("t");
  writeFile(target, kOld);
  const bool ok = writeFileSafely(target, [](std::FILE* f) {
    std::fputs("half", f);
    return false;
  });
  EXPECT_FALSE(ok);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{10, 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(writeFileSafely(target, std::vector<uint8_t>(100000, 1)) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the short write must report failure";
  EXPECT_EQ(readFile(target), kOld);
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(SafeFile, TargetThatCannotBeReplacedIsAFailure) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("busy/inner"));
  EXPECT_FALSE(writeFileSafely(dir.file("busy"), std::vector<uint8_t>{1}));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("busy/inner")));
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(writeFileSafely(dir.file("fifo"), std::vector<uint8_t>{1}));
  EXPECT_TRUE(std::filesystem::is_fifo(dir.file("fifo")));
  EXPECT_EQ(entriesIn(dir.path()), 2u);
  EXPECT_FALSE(writeFileSafely(dir.file("missing/t"), std::vector<uint8_t>{1}));
}

}  // namespace

}  // namespace qc
