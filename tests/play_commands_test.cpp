#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult runCli(std::vector<std::string> args) {
  args.insert(args.begin(), "quillchanter");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = runCommandLine(int(argv.size()), argv.data());
  std::string out = testing::internal::GetCapturedStdout();
  return {status, out, testing::internal::GetCapturedStderr()};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

class PlayCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    writeProgramStartInstruments(song);
  }
  std::string writeSong() {
    const std::string path = dir.file("song.qcm");
    writeFile(path, encodeModule(song));
    return path;
  }
  Song song;
  TempDir dir;
};

TEST_F(PlayCommands, TracePrintsEveryTickToTheLoopPoint) {
  song.patterns[0].cells[0][0] = Cell{49, 0x01, 0};
  song.patterns[0].cells[4][0].note = 3;
  const CliResult r = runCli({"--trace", writeSong()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto out = lines(r.out);
  ASSERT_EQ(out.size(), size_t(64 * 6));
  // order row tick, then the twelve captured fields; PAL C-4 is period 198.
  EXPECT_EQ(out[0], "0 0 0 0 198 47 -1 -1 0 -1 -1 0 -1 0 3");
  EXPECT_EQ(out[1], "0 0 1 0 198 47 -1 -1 0 -1 -1 0 -1 0 0");
  EXPECT_EQ(out.back().substr(0, 7), "0 63 5 ");
}

TEST_F(PlayCommands, TraceStopsAfterTheGivenTicks) {
  const CliResult r = runCli({"--trace", writeSong(), "--ticks", "10"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines(r.out).size(), 10u);
}

TEST_F(PlayCommands, TraceOfASongAtSpeedZeroEndsAtTheCapWithAWarning) {
  song.patterns[0].cells[0][0] = Cell{0, 0xF0, 0};
  const CliResult r = runCli({"--trace", writeSong()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(lines(r.out).size(), size_t(20 * 60 * 1662607.0 / 33247.5 + 0.5));
  EXPECT_NE(r.err.find("speed 0"), std::string::npos) << r.err;
}

TEST_F(PlayCommands, TraceRejectsBadArguments) {
  EXPECT_EQ(runCli({"--trace"}).status, 1);
  EXPECT_EQ(runCli({"--trace", writeSong(), "--ticks", "0"}).status, 1);
  EXPECT_EQ(runCli({"--trace", writeSong(), "--ticks", "12x"}).status, 1);
  const CliResult missing = runCli({"--trace", dir.file("missing.qcm")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("missing.qcm"), std::string::npos);
}

}  // namespace
