// Files that are not what they claim: FIFOs, folders, endless streams,
// headers that lie about their length, full disks, and fixed mutations of
// valid files through the fuzz target's harness.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <random>

#include "cli/command_line.h"
#include "fuzz/reader_harness.h"
#include "samples/raw_sample_import.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "song/module_file.h"
#include "song/safe_file.h"
#include "tests/module_bytes.h"
#include "tests/recording_files.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

namespace fs = std::filesystem;

// Runs `work` in a child process, so a hang or a runaway allocation fails
// the test instead of stalling the suite. The child's exit status, or -1
// when it had to be killed after `seconds`.
int statusWithin(int seconds, const std::function<int()>& work) {
  const pid_t child = fork();
  if (child == 0) _exit(work());
  for (int waited = 0; waited < seconds * 20; ++waited) {
    int status;
    if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    usleep(50000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
}

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    app.editor.currentSample = 3;
    app.song.samples[3].data = {1, 2, 3};
  }
  TempDir dir;
};

TEST_F(HostileFiles, FifoIsNeverOpenedAsAModuleInstrumentOrRecording) {
  const std::string fifo = dir.file("fifo.qcm");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(statusWithin(5, [&] {
              ReadReport report;
              ParsedModule parsed;
              return !loadModuleFile(fifo, &report) && report.describe() == "not a regular file" &&
                     !readModuleFile(fifo, parsed) && !loadInstrument(fifo) && !importRawSample(fifo);
            }),
            1);
}

TEST_F(HostileFiles, EndlessModuleStreamIsRejectedAtTheLargestModuleSize) {
  EXPECT_EQ(statusWithin(60, [] {
              int ends[2];
              if (pipe(ends) != 0) return 2;
              if (fork() == 0) {
                close(ends[0]);
                signal(SIGPIPE, SIG_DFL);
                static const char magic[] = "QuillchanterTune\x04\x0f\x01\x00\x00";
                if (write(ends[1], magic, sizeof magic - 1) < 0) _exit(0);
                static char junk[65536];
                while (write(ends[1], junk, sizeof junk) > 0) {}
                _exit(0);
              }
              close(ends[1]);
              ReadReport report;
              return loadModule(fdopen(ends[0], "rb"), &report) ? 0 : 1;
            }),
            1);
}

TEST_F(HostileFiles, StaleTemporariesOfTheTargetGoAndNothingElse) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string target = dir.file("song.qcm");
  const std::string stale = target + ".tmp" + std::to_string(gone) + "-3";
  const std::string live = target + ".tmp" + std::to_string(getpid()) + "-999";
  const std::string foreign = target + ".tmpnotes";
  for (const std::string& path : {stale, live, foreign}) writeFile(path, {9});
  ASSERT_TRUE(writeFileSafely(target, std::vector<uint8_t>{1}));
  EXPECT_EQ((std::array{fs::exists(stale), fs::exists(live), fs::exists(foreign)}), (std::array{false, true, true}));
}

// A FLAC whose STREAMINFO claims 22e9 frames: refused before the 3.9 GB
// buffer is made, and the slot keeps its sample.
TEST_F(HostileFiles, RecordingsLongerThanTheSampleLimitAreRefused) {
  const std::string flac = dir.file("liar.flac");
  ASSERT_TRUE(writeRecording(flac, kFlac, 44100, 1, std::vector<double>(64, 0.25)));
  std::vector<uint8_t> bytes = readFile(flac);
  const uint64_t claimed = 22'000'000'000ull;  // the low 36 bits of STREAMINFO bytes 10..17
  for (int i = 0; i < 4; ++i) bytes[25 - i] = uint8_t(claimed >> (8 * i));
  bytes[21] = uint8_t((bytes[21] & 0xF0) | ((claimed >> 32) & 0x0F));
  writeFile(flac, bytes);
  const std::string slow = dir.file("one-hertz.wav");  // 300 frames at 1 Hz would be 2.3 M levels
  ASSERT_TRUE(writeRecording(slow, kFloatWav, 1, 1, std::vector<double>(300, 0.5)));

  EXPECT_EQ(statusWithin(20, [&] {
              return !importRawSample(flac) * 2 + !importRawSample(slow) * 4 +
                     (app.song.samples[3].data == std::vector<uint8_t>{1, 2, 3});
            }),
            7);
}

TEST_F(HostileFiles, InfoAndTraceSayWhenStandardOutputFails) {
  const std::string module = dir.file("song.qcm");
  ASSERT_TRUE(saveModule(module));
  for (const char* command : {"--info", "--trace"}) {
    const std::string errors = dir.file("errors.txt");
    EXPECT_EQ(statusWithin(20, [&] {
                if (!freopen("/dev/full", "w", stdout) || !freopen(errors.c_str(), "w", stderr)) return 2;
                std::string a0 = "quillchanter", a1 = command, a2 = module;
                char* argv[] = {a0.data(), a1.data(), a2.data()};
                const int status = runCommandLine(3, argv);
                std::fflush(stderr);
                return status;
              }),
              1)
        << command;
    const std::vector<uint8_t> said = readFile(errors);
    EXPECT_NE(std::string(said.begin(), said.end()).find("cannot write to standard output"), std::string::npos)
        << command;
  }
}

using SafeFile = HostileFiles;

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

TEST_F(SafeFile, ReplacesTheTargetKeepingItsPermissionsAndThroughASymlinkTheFileItPointsTo) {
  writeFile(dir.file("t"), kOld);
  chmod(dir.file("t").c_str(), 0640);
  ASSERT_TRUE(writeFileSafely(dir.file("t"), std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(readFile(dir.file("t")), (std::vector<uint8_t>{1, 2, 3, 4}));
  struct stat st;
  ASSERT_EQ(stat(dir.file("t").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entries(), 1);

  fs::create_symlink(dir.file("t"), dir.file("link"));
  ASSERT_TRUE(writeFileSafely(dir.file("link"), std::vector<uint8_t>{7}));
  EXPECT_TRUE(fs::is_symlink(dir.file("link")));
  EXPECT_EQ(readFile(dir.file("t")), (std::vector<uint8_t>{7}));
}

// A file size limit makes the flush fail part way, as a full disk does; the
// child that runs under it must report failure.
TEST_F(SafeFile, FailedOrShortWriteLeavesTheOldFileAndNoTemporary) {
  const std::string target = dir.file("t");
  writeFile(target, kOld);
  const bool ok = writeFileSafely(target, [](std::FILE* f) {
    std::fputs("half", f);
    return false;
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(statusWithin(20, [&] {
              signal(SIGXFSZ, SIG_IGN);
              const rlimit limit{10, 10};
              setrlimit(RLIMIT_FSIZE, &limit);
              return writeFileSafely(target, std::vector<uint8_t>(100000, 1)) ? 1 : 0;
            }),
            0)
      << "the short write must report failure";
  EXPECT_EQ(readFile(target), kOld);
  EXPECT_EQ(dir.entries(), 1);
}

TEST_F(SafeFile, TargetThatCannotBeReplacedIsAFailure) {
  fs::create_directories(dir.file("busy/inner"));
  EXPECT_FALSE(writeFileSafely(dir.file("busy"), std::vector<uint8_t>{1}));
  EXPECT_TRUE(fs::is_directory(dir.file("busy/inner")));
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(writeFileSafely(dir.file("fifo"), std::vector<uint8_t>{1}));
  EXPECT_TRUE(fs::is_fifo(dir.file("fifo")));
  EXPECT_EQ(dir.entries(), 2);
  EXPECT_FALSE(writeFileSafely(dir.file("missing/t"), std::vector<uint8_t>{1}));
}

// The fuzz target's seed files and two recordings.
std::vector<FileBytes> seeds() {
  std::vector<FileBytes> files;
  for (const char* name : {"module_v0.qcm", "module_v2.qcm", "module_v4.qcm", "instrument.qci"})
    files.push_back(readFile(std::string(QC_FUZZ_SEEDS) + "/" + name));
  TempDir dir;
  const std::vector<double> levels{0.0, std::nan(""), 1.0, -0.5, 0.25, -1.0};
  for (const int format : {kFloatWav, kFlac}) {
    writeRecording(dir.file("r"), format, 22050, 2, levels);
    files.push_back(readFile(dir.file("r")));
  }
  return files;
}

// Truncations, byte flips, boundary bytes, inflated counts and splices of
// valid files, from a fixed seed so every run checks the same inputs.
FileBytes mutate(const FileBytes& seed, std::mt19937& rng) {
  FileBytes f = seed;
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  switch (pick(6)) {
    case 0:
      f.resize(pick(f.size() + 1));
      break;
    case 1:
      for (size_t n = 1 + pick(4); n > 0; --n) f[pick(f.size())] ^= uint8_t(1u << pick(8));
      break;
    case 2: {
      const uint8_t boundary[] = {0, 1, 15, 16, 31, 32, 63, 64, 65, 83, 84, 127, 128, 255};
      f[pick(f.size())] = boundary[pick(sizeof boundary)];
      break;
    }
    case 3: {
      // The header counts and the first instrument's, then any byte.
      const size_t counts[] = {16, 17, 18, 19, 20, 21, 22, 23};
      const size_t at = pick(2) ? counts[pick(8)] : pick(f.size());
      if (at < f.size()) f[at] = uint8_t(f[at] + 1 + pick(3));
      break;
    }
    case 4: {
      const size_t at = pick(f.size()), length = pick(64);
      f.erase(f.begin() + long(at), f.begin() + long(std::min(f.size(), at + length)));
      break;
    }
    default: {
      const size_t at = pick(f.size() + 1);
      for (size_t n = pick(32); n > 0; --n) f.insert(f.begin() + long(at), uint8_t(rng()));
      break;
    }
  }
  return f;
}

TEST(ReaderFuzz, MutatedFilesNeverCrashAndAcceptedOnesRoundTrip) {
  const std::vector<FileBytes> valid = seeds();
  for (const FileBytes& f : valid) {
    ASSERT_GE(f.size(), 16u);  // a seed that went missing would weaken every run
    runReaderHarness(f.data(), f.size());
  }
  std::mt19937 rng(20240601);
  for (int i = 0; i < 2000; ++i) {
    const FileBytes f = mutate(valid[size_t(i) % valid.size()], rng);
    runReaderHarness(f.data(), f.size());
  }
  resetToProgramStart();
}

}  // namespace

}  // namespace qc
