// Files that are not what they claim: FIFOs, folders, endless streams,
// headers that lie about their length, full disks.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "cli/command_line.h"
#include "samples/raw_sample_import.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "song/module_file.h"
#include "song/safe_file.h"
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
    app.editor.currentInstrument = 1;
    app.song.samples[3].data = {1, 2, 3};
    fifo = dir.file("fifo.qcm");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  }
  TempDir dir;
  std::string fifo;
};

TEST_F(HostileFiles, FifoIsNeverOpenedAsAModuleInstrumentOrRecording) {
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
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(foreign));
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

}  // namespace

}  // namespace qc
