// The command-line --trace command, and what --trace and --render refuse.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

class PlayCommands : public ::testing::Test {
 protected:
  void SetUp() override { writeProgramStartInstruments(song); }
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
  EXPECT_EQ(lines(runCli({"--trace", writeSong(), "--ticks", "10"}).out).size(), 10u);
}

TEST_F(PlayCommands, TraceOfASongAtSpeedZeroEndsAtTheCapWithAWarning) {
  song.patterns[0].cells[0][0] = Cell{0, 0xF0, 0};
  const CliResult r = runCli({"--trace", writeSong()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(lines(r.out).size(), size_t(20 * 60 * 1662607.0 / 33247.5 + 0.5));
  EXPECT_NE(r.err.find("speed 0"), std::string::npos) << r.err;
}

TEST_F(PlayCommands, RejectBadArgumentsMissingModulesAndUnwritableOutput) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--trace"}, {"--trace", writeSong(), "--ticks", "0"},
        {"--trace", writeSong(), "--ticks", "12x"}, {"--render"}})
    EXPECT_EQ(runCli(args).status, 1) << args.back();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--trace", dir.file("missing.qcm")},
                                               {"--render", dir.file("missing.qcm"), dir.file("out.wav")}}) {
    const CliResult missing = runCli(args);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("missing.qcm"), std::string::npos) << args[0];
  }
  const CliResult unwritable = runCli({"--render", writeSong(), dir.file("no/such/dir/out.wav")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

}  // namespace

}  // namespace qc
