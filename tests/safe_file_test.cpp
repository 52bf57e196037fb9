#include "song/safe_file.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

size_t entriesIn(const std::string& dir) {
  return size_t(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()));
}

TEST(SafeFile, ReplacesTheTargetAndKeepsItsPermissions) {
  TempDir dir;
  writeFile(dir.file("t"), kOld);
  chmod(dir.file("t").c_str(), 0640);
  ASSERT_TRUE(writeFileSafely(dir.file("t"), std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(readFile(dir.file("t")), (std::vector<uint8_t>{1, 2, 3, 4}));
  struct stat st;
  ASSERT_EQ(stat(dir.file("t").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(SafeFile, WritingThroughASymlinkReplacesTheFileItPointsTo) {
  TempDir dir;
  writeFile(dir.file("real"), kOld);
  std::filesystem::create_symlink(dir.file("real"), dir.file("link"));
  ASSERT_TRUE(writeFileSafely(dir.file("link"), std::vector<uint8_t>{7}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
  EXPECT_EQ(readFile(dir.file("real")), (std::vector<uint8_t>{7}));
}

TEST(SafeFile, FailedWriteLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  writeFile(dir.file("t"), kOld);
  const bool ok = writeFileSafely(dir.file("t"), [](std::FILE* f) {
    std::fputs("half", f);
    return false;
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(readFile(dir.file("t")), kOld);
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

// Runs `save` in a child process, which must report failure, and checks
// the old file is kept with no temporary beside it.
template <class Save>
void expectFailedSaveKeepsTheOldFile(const TempDir& dir, const std::string& target, Save save) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(save() ? 1 : 0);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report failure";
  EXPECT_EQ(readFile(target), kOld);
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// A file size limit makes the flush fail part way, as a full disk does.
TEST(SafeFile, ShortWriteIsAFailure) {
  TempDir dir;
  const std::string target = dir.file("t");
  writeFile(target, kOld);
  expectFailedSaveKeepsTheOldFile(dir, target, [&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{10, 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    return writeFileSafely(target, std::vector<uint8_t>(100000, 1));
  });
}

// The child gives up root, since root writes anywhere.
TEST(SafeFile, SaveIntoReadOnlyDirectoryFailsAndKeepsTheOldModule) {
  TempDir dir;
  const std::string target = dir.file("song.qcm");
  writeFile(target, kOld);
  chmod(target.c_str(), 0644);
  chmod(dir.path().c_str(), 0555);
  expectFailedSaveKeepsTheOldFile(dir, target, [&] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    resetToProgramStart();
    return saveModule(target);
  });
}

}  // namespace

}  // namespace qc
